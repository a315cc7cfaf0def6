#include "qtmessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

struct SeenBox
{
    QString caption;
    QString text;
    int icon = -1;
    QStringList buttons;
    QWidget *parent = nullptr;
};

// Waits for the box, notes what it shows, makes another window active (the user's attention went elsewhere),
// then closes the box by the named button, or with Esc when none is named.
void AnswerBox(SeenBox *seen, const QString &button, QWidget *activate)
{
    QTimer::singleShot(10, [=]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            AnswerBox(seen, button, activate);
            return;
        }
        *seen = {box->windowTitle(), box->text(), int(box->icon()), {}, box->parentWidget()};
        for (QAbstractButton *b : box->buttons())
            seen->buttons.append(b->text());
        seen->buttons.sort();
        QApplication::setActiveWindow(activate);
        if (button.isEmpty())
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->findChild<QPushButton *>(button)->click();
    });
}

} // namespace

class TestQtMessages : public QObject
{
    Q_OBJECT
private slots:
    void boxes_data();
    void boxes();
};

void TestQtMessages::boxes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("button"); // empty: Esc
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("restoresActive");
    const QStringList ok{QStringLiteral("OK")};
    const QStringList yesNo{QStringLiteral("Igen"), QStringLiteral("Nem")};
    const int question = QMessageBox::Question;
    // clang-format off
    QTest::newRow("error") << "error" << "btnOk" << "Hiba" << int(QMessageBox::Critical) << ok << false << true;
    QTest::newRow("warning") << "warning" << "btnOk" << "Figyelmeztetés" << int(QMessageBox::Warning) << ok << false
                             << false;
    QTest::newRow("info, Esc") << "info" << "" << "Üzenet" << int(QMessageBox::Information) << ok << false << false;
    QTest::newRow("question: Igen") << "question" << "btnYes" << "Megerősítés" << question << yesNo << true << true;
    QTest::newRow("question: Nem") << "question" << "btnNo" << "Megerősítés" << question << yesNo << false << true;
    QTest::newRow("question: Esc is Nem") << "question" << "" << "Hiba" << question << yesNo << false << true;
    // clang-format on
}

void TestQtMessages::boxes()
{
    QFETCH(QString, kind);
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QFETCH(bool, result);
    QFETCH(bool, restoresActive);

    QWidget before, owner;
    owner.show();
    before.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner) && QTest::qWaitForWindowExposed(&before));
    QApplication::setActiveWindow(&before);
    QTRY_COMPARE(QApplication::activeWindow(), &before);

    // Angle brackets as in an engine message: shown as they are, not taken for markup.
    const QString text = QStringLiteral("Hiba a <dromvel> táblában");
    QtMessages messages;
    SeenBox seen;
    AnswerBox(&seen, button, &owner);
    bool answer = false;
    if (kind == QLatin1String("error"))
        messages.ShowError(text, &owner);
    else if (kind == QLatin1String("warning"))
        messages.ShowWarning(text, &owner);
    else if (kind == QLatin1String("info"))
        messages.ShowInfo(text, &owner);
    else
        answer = messages.AskYesNo(text, caption, &owner);

    QCOMPARE(seen.caption, caption);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.icon, icon);
    QCOMPARE(seen.buttons, buttons);
    QCOMPARE(seen.parent, &owner);
    QCOMPARE(answer, result);
    QTRY_COMPARE(QApplication::activeWindow(), restoresActive ? &before : &owner);
}

QTEST_MAIN(TestQtMessages)
#include "test_qtmessages.moc"
