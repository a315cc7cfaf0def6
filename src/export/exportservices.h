#pragma once

#include "sendmail.h"

#include <QString>
#include <functional>

class FileDialogs;
class Messages;

// Opens a document with the desktop's program for it.
void OpenWithDesktop(const QString &path);

// What the export dialogs use besides the session, handed in per instance.
struct ExportServices
{
    Messages &messages;
    FileDialogs &fileDialogs;
    std::function<void(const QString &path)> openFile = OpenWithDesktop;
    ProgramRunner runProgram = DesktopProgramRunner();
};
