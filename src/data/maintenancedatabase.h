#pragma once

#include "engine.h"

#include <QString>

// The database of a folder as the maintenance program opens it: only when the folder and its database exist,
// never creating one. Held exclusively, it is taken only when no other program has it open (on SQLite every
// open connection, even an idle one, keeps it from being taken), and while it is held no other program can open
// it. Shared, it is read beside the other programs.
// A server address (postgresql://…) opens that server database, with the password given for it (empty: libpq's
// own, ~/.pgpass or PGPASSWORD); an empty one gets the program's tables as in the program. Exclusively, it is taken
// only when no other connection to it is open; the server cannot keep later ones out, but every write of theirs waits
// for the maintenance program's transaction.
class MaintenanceDatabase
{
public:
    enum class Access {
        Exclusive,
        Shared,
    };

    static const QString MissingFolderMessage; // "Nem létező adatbázis mappa."

    explicit MaintenanceDatabase(const QString &connectionName = QStringLiteral("DromvelUpd"));

    // The folder as typed, without one trailing "/" or "\"; a server address as it is.
    static QString FolderOf(const QString &typed);

    // Opens the database of the folder. Returns the Hungarian reason when it could not (the folder or its
    // database is missing, another program has it open, the engine failed); then nothing has changed.
    QString open(const QString &typedFolder, Access access = Access::Exclusive, const QString &password = QString());
    // Whether the last open failed because the server asked for a password or refused the one given.
    bool passwordRefused() const { return m_passwordRefused; }
    void close() { m_engine.close(); }
    Engine &engine() { return m_engine; }

private:
    QString openServer(const QString &address, Access access, const QString &password);

    Engine m_engine;
    bool m_passwordRefused = false;
};
