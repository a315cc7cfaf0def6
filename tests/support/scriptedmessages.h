#pragma once

#include "messages.h"

#include <QList>
#include <QStringList>
#include <functional>

// Records every box shown and answers questions from a script (No when the script is empty).
class ScriptedMessages : public Messages
{
public:
    struct Shown
    {
        QString kind; // "error", "warning", "info", "application", "question"
        QString text;
        QString caption;
    };

    void ShowError(const QString &text, QWidget *owner = nullptr) override;
    void ShowWarning(const QString &text, QWidget *owner = nullptr) override;
    void ShowInfo(const QString &text, QWidget *owner = nullptr) override;
    void ShowApplicationError(const QString &text, QWidget *owner = nullptr) override;
    bool AskYesNo(const QString &text, const QString &caption, QWidget *owner = nullptr) override;

    QList<bool> answers;
    QList<Shown> shown;
    // Runs once, at the next question, while it is open: another workstation may write while the user reads.
    std::function<void(const QString &text)> onAsk;

    QStringList texts() const;
    void clear() { shown.clear(); }
};
