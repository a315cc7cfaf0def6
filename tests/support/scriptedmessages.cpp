#include "scriptedmessages.h"

#include <utility>

void ScriptedMessages::ShowError(const QString &text, QWidget *)
{
    shown.append({QStringLiteral("error"), text, QStringLiteral("Hiba")});
}

void ScriptedMessages::ShowWarning(const QString &text, QWidget *)
{
    shown.append({QStringLiteral("warning"), text, QStringLiteral("Figyelmeztetés")});
}

void ScriptedMessages::ShowInfo(const QString &text, QWidget *)
{
    shown.append({QStringLiteral("info"), text, QStringLiteral("Üzenet")});
}

void ScriptedMessages::ShowApplicationError(const QString &text, QWidget *)
{
    shown.append({QStringLiteral("application"), text, QStringLiteral("Dromvel.Pro")});
}

bool ScriptedMessages::AskYesNo(const QString &text, const QString &caption, QWidget *)
{
    if (onAsk)
        std::exchange(onAsk, nullptr)(text);
    shown.append({QStringLiteral("question"), text, caption});
    return answers.isEmpty() ? false : answers.takeFirst();
}

QStringList ScriptedMessages::texts() const
{
    QStringList result;
    for (const Shown &s : shown)
        result.append(s.text);
    return result;
}
