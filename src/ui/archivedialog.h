#pragma once

#include <QString>

class FileDialogs;
class IniFile;
class Messages;
class QWidget;

// Archiving a database folder as the user does it: the save dialog for the archive's name, then the packing
// (ArchiveDatabase), and a message when it fails or when the database went in unchecked. A server database
// (postgresql://…) goes in as the server's dump, made with the password held for it (empty: libpq's own).

// DataFolder()/Archiv
QString DefaultArchiveFolder();
// Today as yyyyMMdd.zip in the folder.
QString ProposedArchivePath(const QString &archiveFolder);

// "Adatbázis archiválása": asks for the archive name in the archive folder and packs the database folder.
// Returns the archive written, empty when cancelled or failed (failures are reported). A database the program
// has open stays open: the snapshot needs no lock.
QString ArchiveDatabaseFolder(const QString &databaseFolder, Messages &messages, FileDialogs &fileDialogs,
                              QWidget *parent = nullptr, const QString &password = QString());

// "Bizt.mentés" of the database list: archiveFolder is the list's own value for the run (empty at first);
// it follows the folder chosen in the save dialog. A successful archive writes Archive/LastArchive.
bool ArchiveListEntry(const QString &entryFolder, QString &archiveFolder, IniFile &ini, const QString &iniPath,
                      Messages &messages, FileDialogs &fileDialogs, QWidget *parent = nullptr,
                      const QString &password = QString());
