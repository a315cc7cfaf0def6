#pragma once

#include "engine.h"
#include "query.h"
#include "scriptedmessages.h"
#include "session.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

// A fresh database folder and a session on it for every test function.
class MasterDataFixture
{
public:
    void openDatabase(const QString &connection)
    {
        const QString folder = m_dir.filePath(QString::number(++m_count));
        QDir().mkpath(folder);
        engine = std::make_unique<Engine>(connection);
        engine->open(folder);
        messages = ScriptedMessages();
        session = Session();
        session.engine = engine.get();
        session.messages = &messages;
        session.user = QStringLiteral("teszt");
        session.formatFt = QStringLiteral("### ### ##0");
    }
    void closeDatabase() { engine.reset(); }

    QVariant scalar(const QString &sql)
    {
        Query q(*engine, sql);
        q.open();
        return q.next() ? q.value(0) : QVariant();
    }
    int count(const QString &table) { return scalar(QStringLiteral("SELECT COUNT(*) FROM %1;").arg(table)).toInt(); }

    std::unique_ptr<Engine> engine;
    ScriptedMessages messages;
    Session session;

private:
    QTemporaryDir m_dir;
    int m_count = 0;
};

// Runs f on the modal dialog that the next exec() opens (the topmost one when several are open).
inline void OnNextModal(std::function<void(QDialog *)> f)
{
    QTimer::singleShot(0, [f] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            qWarning("no modal dialog is open");
            return;
        }
        dialog->activateWindow();
        if (!QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }))
            qWarning("the modal dialog did not become active");
        f(dialog);
        // A failed check leaves the dialog open; closing it lets the test report instead of hanging.
        if (dialog->isVisible())
            dialog->reject();
    });
}

// A typed character, as the keyboard sends it; QTest::keyClicks cannot send accented letters.
inline void TypeChar(QWidget *widget, const QString &text, Qt::Key key = Qt::Key_unknown,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

// Types the text character by character, accented letters included.
inline void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, char(c.unicode()));
        else
            TypeChar(widget, QString(c));
    }
}
