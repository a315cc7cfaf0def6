#pragma once

#include <QString>

class QWidget;

// The standard file and folder dialogs. Services and forms receive this interface; tests pass a scripted stub.
// Every call returns the chosen path, or the empty text when the user cancelled.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    // filter in Qt form, e.g. "ZIP archívumok (*.zip)"; defaultSuffix without the dot.
    virtual QString SaveFileName(const QString &caption, const QString &proposedPath, const QString &filter,
                                 const QString &defaultSuffix, QWidget *owner = nullptr) = 0;
    virtual QString OpenFileName(const QString &caption, const QString &folder, const QString &filter,
                                 QWidget *owner = nullptr) = 0;
    virtual QString ExistingFolder(const QString &caption, const QString &startFolder, QWidget *owner = nullptr) = 0;
};
