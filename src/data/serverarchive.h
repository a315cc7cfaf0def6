#pragma once

#include "archive.h"

#include <QString>

// The archive of a database on a PostgreSQL server: the server's own dump of it in its custom format, and a short
// text saying which server and database it came from and when.
namespace ServerArchive {

constexpr const char *DumpName = "dromvel.dump";
constexpr const char *NoteName = "kiszolgalo.txt";

// Dumps the database with pg_dump into a folder of its own and packs the dump and the note into the zip. The
// password, when given, reaches pg_dump only. Any failure is thrown as ArchiveError (pg_dump's failure with its
// own words) and leaves zipPath as it was.
ArchiveResult Write(const QString &address, const QString &zipPath, const QString &password);

} // namespace ServerArchive
