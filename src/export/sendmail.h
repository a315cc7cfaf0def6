#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Starts a program and tells how it went: its exit code when it ended within a short while, 0 while it is still
// running (a mail client keeps its window open), -1 when it cannot be started at all.
using ProgramRunner = std::function<int(const QString &program, const QStringList &arguments)>;
ProgramRunner DesktopProgramRunner();

// Hands a message with one attached file to the desktop mail client, which opens its compose window for the user
// to address it (xdg-email). 0 when the client took it; otherwise no mail program could be started.
int SendMail(const QString &subject, const QString &body, const QString &attachment,
             const ProgramRunner &run = DesktopProgramRunner());
