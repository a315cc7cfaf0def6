#pragma once

#include "messages.h"

// The message boxes as real modal Qt boxes with Hungarian captions and button texts. The owner is the box's
// parent; without one the active window is.
class QtMessages : public Messages
{
public:
    void ShowError(const QString &text, QWidget *owner = nullptr) override;
    void ShowWarning(const QString &text, QWidget *owner = nullptr) override;
    void ShowInfo(const QString &text, QWidget *owner = nullptr) override;
    void ShowApplicationError(const QString &text, QWidget *owner = nullptr) override;
    bool AskYesNo(const QString &text, const QString &caption, QWidget *owner = nullptr) override;
};
