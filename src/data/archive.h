#pragma once

#include <QString>

class FileDialogs;
class IniFile;
class Messages;
class QIODevice;
class QWidget;

struct ArchiveResult
{
    bool ok = false;
    QString error; // Hungarian text when !ok
    int files = 0; // entries written
};

// Packs every file of the folder and its subfolders into a zip (deflate level 9), paths relative with "/".
// The database file goes in as a consistent snapshot taken through SQLite's backup, so other programs may
// keep writing meanwhile; its -wal, -shm and -journal companions are left out. Any file that cannot be read
// fails the whole archive.
ArchiveResult ArchiveFolder(const QString &folder, QIODevice &out);
// Writes the archive file only when packing succeeded: on failure the path is left as it was.
ArchiveResult ArchiveFolder(const QString &folder, const QString &zipPath);

// Consistent copy of a live SQLite database into a new file.
bool SnapshotDatabase(const QString &source, const QString &target, QString *error);

// DataFolder()/Archiv
QString DefaultArchiveFolder();
// Today as yyyyMMdd.zip in the folder.
QString ProposedArchivePath(const QString &archiveFolder);

// "Adatbázis archiválása": asks for the archive name in the archive folder and packs the database folder.
// Returns the archive written, empty when cancelled or failed (failures are reported).
QString ArchiveDatabaseFolder(const QString &databaseFolder, Messages &messages, FileDialogs &fileDialogs,
                              QWidget *parent = nullptr);

// "Bizt.mentés" of the database list: archiveFolder is the list's own value for the run (empty at first);
// it follows the folder chosen in the save dialog. A successful archive writes Archive/LastArchive.
bool ArchiveListEntry(const QString &entryFolder, QString &archiveFolder, IniFile &ini, const QString &iniPath,
                      Messages &messages, FileDialogs &fileDialogs, QWidget *parent = nullptr);
