#include "scriptedfiledialogs.h"

QString ScriptedFileDialogs::answer()
{
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

QString ScriptedFileDialogs::SaveFileName(const QString &caption, const QString &proposedPath, const QString &filter,
                                          const QString &, QWidget *)
{
    asked.append({QStringLiteral("save"), caption, proposedPath, filter});
    return answer();
}

QString ScriptedFileDialogs::OpenFileName(const QString &caption, const QString &folder, const QString &filter,
                                          QWidget *)
{
    asked.append({QStringLiteral("open"), caption, folder, filter});
    return answer();
}

QString ScriptedFileDialogs::ExistingFolder(const QString &caption, const QString &startFolder, QWidget *)
{
    asked.append({QStringLiteral("folder"), caption, startFolder, QString()});
    return answer();
}
