#pragma once

#include <QString>
#include <optional>

// The address of a database on a PostgreSQL server as the database list holds it:
// postgresql://[user@]host[:port]/dbname. No password: that comes from libpq's own password file or PGPASSWORD,
// or from the user at start. An empty host is the server on this computer through its local socket.
struct ServerAddress
{
    QString user;
    QString host;
    int port = 0; // 0: the server's standard port
    QString database;

    // True for any text that names a server (starts with the scheme), well formed or not: such a path is never
    // a folder.
    static bool isServerPath(const QString &path);
    // The address of a well-formed text; nothing for a folder or a malformed address.
    static std::optional<ServerAddress> parse(const QString &text);
    QString toString() const;
    // How the user sees it in messages: "dbname (host:port)".
    QString displayName() const;

    bool operator==(const ServerAddress &) const = default;
};
