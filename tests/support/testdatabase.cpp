#include "testdatabase.h"

#include "testserver.h"

#include <QDir>

TestDatabase::~TestDatabase()
{
    engine.reset();
    dropServerDatabase();
}

void TestDatabase::fresh(const QString &connection)
{
    // The old engine goes first: two engines must not share the connection name.
    engine.reset();
    dropServerDatabase();
    if (TestServer::inUse()) {
        folder = TestServer::newLedger();
    } else {
        folder = dir.filePath(QString::number(++m_count));
        QDir().mkpath(folder);
    }
    engine = std::make_unique<Engine>(connection);
    engine->open(folder);
    messages = ScriptedMessages();
    fileDialogs = ScriptedFileDialogs();
    session = Session();
}

void TestDatabase::dropServerDatabase()
{
    if (TestServer::inUse() && !folder.isEmpty())
        TestServer::dropAtExit(folder);
    folder.clear();
}
