#include "inputdialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

// Layout unit n·unit/d, rounded to the nearest pixel.
int Units(int n, int unit, int d)
{
    return (2 * n * unit + d) / (2 * d);
}

// QTest::keyClicks takes only ASCII; Hungarian letters go in as key events carrying their text.
void Type(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Runs action on the modal dialog once InputDialog() has opened it.
void WhenDialogOpens(std::function<void(InputDialogWindow *)> action)
{
    QTimer::singleShot(10, [action]() {
        if (auto *dialog = qobject_cast<InputDialogWindow *>(QApplication::activeModalWidget()))
            action(dialog);
        else
            WhenDialogOpens(action);
    });
}

} // namespace

class TestInputDialog : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void result_data();
    void result();
};

void TestInputDialog::layout_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("minLines");
    QTest::newRow("short") << QStringLiteral("Új jelszó:") << 1;
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("wrapping") << QStringLiteral(
                                     "Kérem adja meg az új jelszót, amelyet a következő belépésnél a program "
                                     "már kérni fog, majd nyomja meg az OK gombot.")
                              << 2;
}

void TestInputDialog::layout()
{
    QFETCH(QString, prompt);
    QFETCH(int, minLines);
    InputDialogWindow dialog(QStringLiteral("Jelszó"), prompt, QString(), QStringLiteral("titok"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QFontMetrics metrics(dialog.font());
    const int w =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
    const int h = metrics.height();
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("lblPrompt"));
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("edtValue"));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("btnOk"));
    auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("btnCancel"));
    QVERIFY(w > 0 && label && edit && ok && cancel);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Jelszó"));
    QCOMPARE(label->pos(), QPoint(Units(8, w, 4), Units(8, h, 8)));
    QVERIFY(label->width() <= Units(164, w, 4));
    QVERIFY(label->height() >= minLines * h);
    // The whole prompt fits the label's box.
    QVERIFY(label->heightForWidth(label->width()) <= label->height());

    QCOMPARE(edit->geometry().topLeft(), QPoint(Units(8, w, 4), label->geometry().bottom() + 1 + 5));
    QCOMPARE(edit->width(), Units(164, w, 4));
    QCOMPARE(edit->selectedText(), QStringLiteral("titok"));
    QCOMPARE(edit->echoMode(), QLineEdit::Normal);

    const int buttonTop = edit->geometry().bottom() + 1 + 15;
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(cancel->text(), QStringLiteral("Mégsem"));
    QVERIFY(ok->isDefault());
    QCOMPARE(ok->geometry(), QRect(Units(38, w, 4), buttonTop, Units(50, w, 4), Units(14, h, 8)));
    QCOMPARE(cancel->geometry(), QRect(Units(92, w, 4), buttonTop, Units(50, w, 4), Units(14, h, 8)));

    QCOMPARE(dialog.size(), QSize(Units(180, w, 4), ok->geometry().bottom() + 1 + 13));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const QRect screen = dialog.screen()->geometry();
    QCOMPARE(dialog.pos(), QPoint(screen.x() + (screen.width() - dialog.width()) / 2,
                                  screen.y() + (screen.height() - dialog.height()) / 2));
}

void TestInputDialog::result_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("expectedResult");
    QTest::addColumn<QString>("expectedValue");
    // Typing replaces the selected starting value "régi".
    QTest::newRow("OK") << QString() << "ok" << true << QStringLiteral("újjelszó");
    QTest::newRow("Enter presses OK") << QString() << "enter" << true << QStringLiteral("újjelszó");
    QTest::newRow("Mégsem") << QString() << "cancel" << false << QStringLiteral("régi");
    QTest::newRow("Esc") << QString() << "escape" << false << QStringLiteral("régi");
    QTest::newRow("closed") << QString() << "close" << false << QStringLiteral("régi");
    QTest::newRow("mask: letters refused")
        << QStringLiteral("9999.99.99;_") << "ok" << true << QStringLiteral("2026.12.08");
}

void TestInputDialog::result()
{
    QFETCH(QString, mask);
    QFETCH(QString, action);
    QFETCH(bool, expectedResult);
    QFETCH(QString, expectedValue);
    WhenDialogOpens([action, mask](InputDialogWindow *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("edtValue"));
        Type(edit, mask.isEmpty() ? QStringLiteral("újjelszó") : QStringLiteral("2026a1208"));
        if (action == QLatin1String("ok"))
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
        else if (action == QLatin1String("cancel"))
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCancel")), Qt::LeftButton);
        else if (action == QLatin1String("enter"))
            QTest::keyClick(edit, Qt::Key_Return);
        else if (action == QLatin1String("escape"))
            QTest::keyClick(edit, Qt::Key_Escape);
        else
            dialog->close();
    });
    QString value = mask.isEmpty() ? QStringLiteral("régi") : QString();
    QCOMPARE(InputDialog(QStringLiteral("Jelszó"), QStringLiteral("Új jelszó:"), mask, value), expectedResult);
    QCOMPARE(value, expectedValue);
}

QTEST_MAIN(TestInputDialog)
#include "test_inputdialog.moc"
