#pragma once

#include "engine.h"

#include <QString>

// The database of a folder held by the maintenance program alone. It is taken only when no other program has
// it open (on SQLite every open connection, even an idle one, keeps it from being taken), and while it is held
// no other program can open it.
class ExclusiveDatabase
{
public:
    static const QString MissingFolderMessage; // "Nem létező adatbázis mappa."

    explicit ExclusiveDatabase(const QString &connectionName = QStringLiteral("DromvelUpd"));

    // The folder as typed, without one trailing "/" or "\".
    static QString FolderOf(const QString &typed);

    // Takes the database of the folder. Returns the Hungarian reason when it could not (the folder or its
    // database is missing, another program has it open, the engine failed); then nothing has changed.
    QString open(const QString &typedFolder);
    void close() { m_engine.close(); }
    Engine &engine() { return m_engine; }

private:
    Engine m_engine;
};
