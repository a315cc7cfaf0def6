#pragma once

#include "engine.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
#include "session.h"

#include <QTemporaryDir>
#include <memory>

// A new database in a folder of its own for every fresh() (on the test server, in a database of its own, when
// the test runs against the server), a fresh session, and the scripted message boxes and file dialogs that
// screens and services are handed.
class TestDatabase
{
public:
    TestDatabase() = default;
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    // Opens a new database under dir with the named connection; scripts and session start over.
    void fresh(const QString &connection);
    void close() { engine.reset(); }

    QTemporaryDir dir;
    // The database's folder, or its server address.
    QString folder;
    std::unique_ptr<Engine> engine;
    ScriptedMessages messages;
    ScriptedFileDialogs fileDialogs;
    Session session;

private:
    void dropServerDatabase();

    int m_count = 0;
};
