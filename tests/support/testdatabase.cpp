#include "testdatabase.h"

#include <QDir>

void TestDatabase::fresh(const QString &connection)
{
    // The old engine goes first: two engines must not share the connection name.
    engine.reset();
    folder = dir.filePath(QString::number(++m_count));
    QDir().mkpath(folder);
    engine = std::make_unique<Engine>(connection);
    engine->open(folder);
    messages = ScriptedMessages();
    fileDialogs = ScriptedFileDialogs();
    session = Session();
}
