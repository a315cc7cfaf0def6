#pragma once

#include <QString>

class QIODevice;

// Packs every file of the folder and its subfolders into a zip (deflate level 9), paths relative with "/", and
// returns how many entries it wrote. The database file goes in as a consistent snapshot taken through SQLite's
// backup, so other programs may keep writing meanwhile; its -wal, -shm and -journal companions are left out.
// Any file that cannot be read fails the whole archive. Failures are thrown as ArchiveError.
int ArchiveFolder(const QString &folder, QIODevice &out);
// Writes the archive file only when packing succeeded: on failure the path is left as it was.
int ArchiveFolder(const QString &folder, const QString &zipPath);

// Consistent copy of a live SQLite database into a new file; throws ArchiveError.
void SnapshotDatabase(const QString &source, const QString &target);
