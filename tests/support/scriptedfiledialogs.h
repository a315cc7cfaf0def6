#pragma once

#include "filedialogs.h"

#include <QList>
#include <QStringList>

// Answers every dialog from a script (cancel when the script is empty) and records what was asked.
class ScriptedFileDialogs : public FileDialogs
{
public:
    struct Asked
    {
        QString kind; // "save", "open", "folder"
        QString caption;
        QString path; // proposed path or start folder
        QString filter;
    };

    QString SaveFileName(const QString &caption, const QString &proposedPath, const QString &filter,
                         const QString &defaultSuffix, QWidget *owner = nullptr) override;
    QString OpenFileName(const QString &caption, const QString &folder, const QString &filter,
                         QWidget *owner = nullptr) override;
    QString ExistingFolder(const QString &caption, const QString &startFolder, QWidget *owner = nullptr) override;

    QStringList answers;
    QList<Asked> asked;

private:
    QString answer();
};
