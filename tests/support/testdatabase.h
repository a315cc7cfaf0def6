#pragma once

#include "engine.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
#include "session.h"

#include <QTemporaryDir>
#include <memory>

// A new database in a folder of its own for every fresh(), a fresh session, and the scripted message boxes and
// file dialogs that screens and services are handed.
class TestDatabase
{
public:
    // Opens a new database under dir with the named connection; scripts and session start over.
    void fresh(const QString &connection);
    void close() { engine.reset(); }

    QTemporaryDir dir;
    QString folder;
    std::unique_ptr<Engine> engine;
    ScriptedMessages messages;
    ScriptedFileDialogs fileDialogs;
    Session session;

private:
    int m_count = 0;
};
