#pragma once

#include "modaldialogs.h"
#include "query.h"
#include "testdatabase.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QtTest>

// A fresh database folder and a session on it for every test function.
class MasterDataFixture : public TestDatabase
{
public:
    void openDatabase(const QString &connection)
    {
        fresh(connection);
        session.user = QStringLiteral("teszt");
        session.formatFt = QStringLiteral("### ### ##0");
    }

    QVariant scalar(const QString &sql)
    {
        Query q(*engine, sql);
        q.open();
        return q.next() ? q.value(0) : QVariant();
    }
    int count(const QString &table) { return scalar(QStringLiteral("SELECT COUNT(*) FROM %1;").arg(table)).toInt(); }
};

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
