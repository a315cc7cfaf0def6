#pragma once

#include <QString>

class QWidget;

// The four message boxes every screen uses. Services and forms receive this interface; the Qt implementation
// shows real boxes, tests pass a scripted stub.
class Messages
{
public:
    virtual ~Messages() = default;

    // Caption "Hiba", stop icon.
    virtual void ShowError(const QString &text, QWidget *owner = nullptr) = 0;
    // Caption "Figyelmeztetés", exclamation icon.
    virtual void ShowWarning(const QString &text, QWidget *owner = nullptr) = 0;
    // Caption "Üzenet", information icon.
    virtual void ShowInfo(const QString &text, QWidget *owner = nullptr) = 0;
    // The application's default error box for an error no action handled: caption "Dromvel.Pro".
    virtual void ShowApplicationError(const QString &text, QWidget *owner = nullptr) = 0;
    // Question with Yes and No; true only when Yes is chosen.
    virtual bool AskYesNo(const QString &text, const QString &caption, QWidget *owner = nullptr) = 0;
};
