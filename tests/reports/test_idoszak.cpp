#include "reportsfixture.h"
#include "tfrm_idoszak.h"

#include <QDateEdit>
#include <QPushButton>

class TestIdoszak : public QObject
{
    Q_OBJECT

private slots:
    void presets_data();
    void presets();
    void defaultPeriodIsAMonthUpToToday();
    void presetButtonFillsBothDatesAndStaysOpen();
    void enterMovesOnAndCtrlEnterAccepts();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void callerGetsTheChosenRange();

private:
    Session m_session;
};

void TestIdoszak::presets_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    const int week = int(PeriodPreset::ThisWeek), month = int(PeriodPreset::ThisMonth),
              last = int(PeriodPreset::LastMonth), year = int(PeriodPreset::ThisYear);
    QTest::newRow("week, Thursday") << week << QDate(2026, 3, 12) << QDate(2026, 3, 9) << QDate(2026, 3, 15);
    QTest::newRow("week, Sunday") << week << QDate(2026, 3, 15) << QDate(2026, 3, 9) << QDate(2026, 3, 15);
    // 31 December 2024 lies in the first ISO week of 2025: still the week around that day.
    QTest::newRow("week at New Year") << week << QDate(2024, 12, 31) << QDate(2024, 12, 30) << QDate(2025, 1, 5);
    QTest::newRow("week in ISO week 53") << week << QDate(2021, 1, 1) << QDate(2020, 12, 28) << QDate(2021, 1, 3);
    QTest::newRow("month, 31 January") << month << QDate(2026, 1, 31) << QDate(2026, 1, 1) << QDate(2026, 1, 31);
    QTest::newRow("month, leap February") << month << QDate(2028, 2, 10) << QDate(2028, 2, 1) << QDate(2028, 2, 29);
    QTest::newRow("last month, 15 March") << last << QDate(2026, 3, 15) << QDate(2026, 2, 1) << QDate(2026, 2, 28);
    QTest::newRow("last month, leap year") << last << QDate(2028, 3, 31) << QDate(2028, 2, 1) << QDate(2028, 2, 29);
    QTest::newRow("last month, January") << last << QDate(2026, 1, 20) << QDate(2025, 12, 1) << QDate(2025, 12, 31);
    QTest::newRow("year") << year << QDate(2026, 7, 4) << QDate(2026, 1, 1) << QDate(2026, 12, 31);
}

void TestIdoszak::presets()
{
    QFETCH(int, preset);
    QFETCH(QDate, today);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QCOMPARE(PresetRange(PeriodPreset(preset), today), (DateRange{from, to}));
}

void TestIdoszak::defaultPeriodIsAMonthUpToToday()
{
    QCOMPARE(DefaultPeriod(QDate(2026, 3, 15)), (DateRange{QDate(2026, 2, 15), QDate(2026, 3, 15)}));
    QCOMPARE(DefaultPeriod(QDate(2026, 3, 31)), (DateRange{QDate(2026, 2, 28), QDate(2026, 3, 31)}));
}

void TestIdoszak::presetButtonFillsBothDatesAndStaysOpen()
{
    Tfrm_Idoszak dialog(m_session, {QDate(2026, 1, 5), QDate(2026, 1, 6)}, nullptr, QDate(2026, 3, 15));
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Időszak megadása"));
    QCOMPARE(dialog.range(), (DateRange{QDate(2026, 1, 5), QDate(2026, 1, 6)}));

    const QList<std::pair<const char *, DateRange>> clicks = {
        {"btnMultHonap", {QDate(2026, 2, 1), QDate(2026, 2, 28)}},
        {"btnEzAHet", {QDate(2026, 3, 9), QDate(2026, 3, 15)}},
        {"btnEzAHonap", {QDate(2026, 3, 1), QDate(2026, 3, 31)}},
        {"btnIden", {QDate(2026, 1, 1), QDate(2026, 12, 31)}},
    };
    for (const auto &[button, range] : clicks) {
        QTest::mouseClick(dialog.findChild<QPushButton *>(QString::fromLatin1(button)), Qt::LeftButton);
        QCOMPARE(dialog.range(), range);
        QVERIFY(dialog.isVisible());
    }
}

void TestIdoszak::enterMovesOnAndCtrlEnterAccepts()
{
    Tfrm_Idoszak dialog(m_session, {QDate(2026, 2, 1), QDate(2026, 2, 2)}, nullptr, QDate(2026, 3, 15));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *from = dialog.findChild<QDateEdit *>(QStringLiteral("dtTol"));
    auto *to = dialog.findChild<QDateEdit *>(QStringLiteral("dtIg"));
    QVERIFY(from->hasFocus());

    QTest::keyClick(from, Qt::Key_Return);
    QVERIFY(to->hasFocus());
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    // From a preset button too, Ctrl+Enter is OK rather than the button.
    auto *week = dialog.findChild<QPushButton *>(QStringLiteral("btnEzAHet"));
    week->setFocus();
    QTest::keyClick(week, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.range(), (DateRange{QDate(2026, 2, 1), QDate(2026, 2, 2)}));
    QVERIFY(m_session.ini.readInt(QStringLiteral("Tfrm_Idoszak"), QStringLiteral("Left"), -1) >= 0);
}

void TestIdoszak::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("result");
    QTest::addColumn<DateRange>("range");

    const DateRange given{QDate(2026, 2, 1), QDate(2026, 2, 2)};
    QTest::newRow("preset") << "btnMultHonap" << true << int(QDialog::Rejected)
                            << DateRange{QDate(2026, 2, 1), QDate(2026, 2, 28)};
    QTest::newRow("Mégsem") << "btnCancel" << false << int(QDialog::Rejected) << given;
    QTest::newRow("OK") << "btnOk" << false << int(QDialog::Accepted) << given;
}

void TestIdoszak::enterPressesTheFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(bool, open);
    QFETCH(int, result);
    QFETCH(DateRange, range);

    Tfrm_Idoszak dialog(m_session, {QDate(2026, 2, 1), QDate(2026, 2, 2)}, nullptr, QDate(2026, 3, 15));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *focused = dialog.findChild<QPushButton *>(button);
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Return);
    QCOMPARE(dialog.isVisible(), open);
    QCOMPARE(dialog.result(), result);
    QCOMPARE(dialog.range(), range);
}

void TestIdoszak::callerGetsTheChosenRange()
{
    OnNextModal([](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Saját cím"));
        auto *to = dialog->findChild<QDateEdit *>(QStringLiteral("dtIg"));
        to->setDate(QDate(2026, 3, 20));
        dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    });
    QCOMPARE(Idoszak(m_session, {QDate(2026, 3, 1), QDate(2026, 3, 2)}, nullptr, QStringLiteral("Saját cím")),
             (std::optional<DateRange>(DateRange{QDate(2026, 3, 1), QDate(2026, 3, 20)})));

    OnNextModal([](QDialog *dialog) {
        QTest::keyClick(dialog->findChild<QDateEdit *>(QStringLiteral("dtTol")), Qt::Key_Escape);
    });
    QVERIFY(!Idoszak(m_session, {QDate(2026, 3, 1), QDate(2026, 3, 2)}).has_value());
}

QTEST_MAIN(TestIdoszak)
#include "test_idoszak.moc"
