#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QtTest>

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
