#pragma once

#include "filedialogs.h"

class QtFileDialogs : public FileDialogs
{
public:
    QString SaveFileName(const QString &caption, const QString &proposedPath, const QString &filter,
                         const QString &defaultSuffix, QWidget *owner = nullptr) override;
    QString OpenFileName(const QString &caption, const QString &folder, const QString &filter,
                         QWidget *owner = nullptr) override;
    QString ExistingFolder(const QString &caption, const QString &startFolder, QWidget *owner = nullptr) override;
};
