#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantList>

// Answers the server password dialogs (objectName PasswordDialog) that open while it lives, from a script: a
// string is typed and OK pressed, an invalid QVariant (or an empty script) presses Mégsem. Records what each
// dialog showed.
class PasswordPrompts : public QObject
{
public:
    explicit PasswordPrompts(const QVariantList &answers);

    struct Seen
    {
        QString title;
        bool again = false; // the dialog said the password before was refused
        bool masked = false;
        QString database;
        QString user;
    };
    QList<Seen> seen;

private:
    void look();

    QVariantList m_answers;
    QTimer m_timer;
};
