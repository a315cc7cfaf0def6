#pragma once

#include <QString>

class QIODevice;

struct ArchiveResult
{
    int entries = 0;
    // Why the database file went in as its raw bytes (with its -wal and -journal beside it) instead of a
    // checked snapshot; empty when the snapshot was taken.
    QString unchecked;
};

// Packs every file of the folder and its subfolders into a zip (deflate level 9), paths relative with "/".
// The database file goes in as a consistent snapshot taken through SQLite's backup, so other programs may keep
// writing meanwhile; its -wal, -shm and -journal companions are left out. A damaged database, of which no
// snapshot can be taken, is exactly the one a copy is most wanted of: it goes in as it lies on the disk, with
// its -wal and -journal, and the result says so. A database busy beyond the waiting time is an error.
// Any file that cannot be read fails the whole archive. Failures are thrown as ArchiveError.
ArchiveResult ArchiveFolder(const QString &folder, QIODevice &out);
// Writes the archive file only when packing succeeded: on failure the path is left as it was.
ArchiveResult ArchiveFolder(const QString &folder, const QString &zipPath);

// The archive of a database as the program names it: a folder as ArchiveFolder packs it, a server address
// (postgresql://…) as ServerArchive::Write dumps it, with the password held for that server (empty: libpq's own).
ArchiveResult ArchiveDatabase(const QString &database, const QString &zipPath, const QString &password = QString());

// Consistent copy of a live SQLite database into a new file; throws ArchiveError.
void SnapshotDatabase(const QString &source, const QString &target);
