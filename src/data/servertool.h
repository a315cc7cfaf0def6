#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ServerAddress;

// The server's own command-line tools (pg_dump, pg_restore), run as child processes for one database.
namespace ServerTool {

// The connection of the address as a libpq connection string for a tool's --dbname, every value quoted.
QString ConnectionString(const ServerAddress &address);

// Runs the tool (found on PATH) with the arguments and waits for it; returns what it wrote to its standard
// output. A password, when given, goes into PGPASSWORD of the child's environment only (otherwise the tool reads
// ~/.pgpass or an inherited PGPASSWORD); the tool never asks on a terminal. A tool that cannot be started, crashes
// or ends with an error is thrown as ArchiveError naming the tool, with what it wrote to its error output.
QByteArray Run(const QString &tool, const QStringList &arguments, const QString &password);

} // namespace ServerTool
