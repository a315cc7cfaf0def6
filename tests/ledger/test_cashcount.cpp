#include "cashcountstore.h"
#include "dayclosing.h"
#include "dayclosingactions.h"
#include "ledgerfixture.h"
#include "modaldialogs.h"
#include "tfrm_penztarellenorzes.h"
#include "voucherbooking.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

Q_DECLARE_METATYPE(CashCount)

// The cash count at the day closing: its arithmetic, the dialog, and the count stored with the closing.
class TestCashCount : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void init();
    void cleanup() { m_db.close(); }

    void arithmetic_data();
    void arithmetic();
    void dialogShowsTheLinesAndTheDifference_data();
    void dialogShowsTheLinesAndTheDifference();
    void dialogButtons_data();
    void dialogButtons();
    void countIsStoredWithTheClosing_data();
    void countIsStoredWithTheClosing();

private:
    LedgerFixture m_db;
    int m_till = 0;
};

void TestCashCount::init()
{
    m_db.open(QStringLiteral("cashcount"), QDate(2026, 3, 8));
    m_till = m_db.till(QStringLiteral("Fő"), QStringLiteral("FB"), QStringLiteral("FK"), 100000);
    m_db.session.till = m_till;
}

void TestCashCount::arithmetic_data()
{
    QTest::addColumn<CashCount>("count");
    QTest::addColumn<double>("book");
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("difference");

    // 20 000 × 5 + 1 000 × 3 + 5 × 1 = 103 005.
    const CashCount pieces = CashCount::OfPieces({5, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 1});
    QTest::newRow("equal") << pieces << 103005.0 << 103005.0 << 0.0;
    QTest::newRow("5 Ft surplus") << pieces << 103000.0 << 103005.0 << 5.0;
    QTest::newRow("5 Ft shortage") << pieces << 103010.0 << 103005.0 << -5.0;
    QTest::newRow("nothing counted") << CashCount::OfPieces({}) << 1200.0 << 0.0 << -1200.0;
    QTest::newRow("every denomination once")
        << CashCount::OfPieces({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}) << 38885.0 << 38885.0 << 0.0;
    // Amounts of another currency keep their cents; their sum has no binary noise.
    QTest::newRow("euro lines") << CashCount::OfAmounts({0.1, 0.2, 100.005}) << 100.3 << 100.31 << 0.01;
}

void TestCashCount::arithmetic()
{
    QFETCH(CashCount, count);
    QFETCH(double, book);
    QFETCH(double, total);
    QFETCH(double, difference);
    QCOMPARE(count.total(), total);
    QCOMPARE(count.difference(book), difference);
    if (!count.lines.isEmpty() && count.lines.first().cimlet > 0) {
        QCOMPARE(count.lines.size(), 12);
        for (const CashCountLine &line : count.lines)
            QCOMPARE(line.osszeg, line.cimlet * line.db);
    }
}

void TestCashCount::dialogShowsTheLinesAndTheDifference_data()
{
    QTest::addColumn<QString>("currency");
    QTest::addColumn<double>("book");
    QTest::addColumn<QStringList>("values"); // the first two lines' values
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("difference");

    // Forints: 3 × 20 000 and 2 × 10 000.
    QTest::newRow("forint surplus") << "HUF" << 79000.0 << QStringList{"60 000 Ft", "20 000 Ft"} << "80 000 Ft"
                                    << "Többlet"
                                    << "1 000 Ft";
    QTest::newRow("forint shortage") << "" << 80001.0 << QStringList{"60 000 Ft", "20 000 Ft"} << "80 000 Ft"
                                     << "Hiány"
                                     << "1 Ft";
    QTest::newRow("forint equal") << "Ft" << 80000.0 << QStringList{"60 000 Ft", "20 000 Ft"} << "80 000 Ft"
                                  << "Egyezik"
                                  << "0 Ft";
    // Another currency: the amounts 3 and 2 per line.
    QTest::newRow("euro shortage") << "EUR" << 5.5 << QStringList{"3,00 EUR", "2,00 EUR"} << "5,00 EUR"
                                   << "Hiány"
                                   << "0,50 EUR";
}

void TestCashCount::dialogShowsTheLinesAndTheDifference()
{
    QFETCH(QString, currency);
    QFETCH(double, book);
    QFETCH(QStringList, values);
    QFETCH(QString, total);
    QFETCH(QString, caption);
    QFETCH(QString, difference);
    Tfrm_Penztarellenorzes dialog(m_db.session, book, currency);
    const bool forint = currency != QLatin1String("EUR");
    // Typed in as a cashier types: into the first two lines.
    for (int i = 0; i < 2; ++i) {
        QWidget *field = forint ? static_cast<QWidget *>(dialog.findChild<QSpinBox *>(QStringLiteral("edtDb%1").arg(i)))
                                : dialog.findChild<QWidget *>(QStringLiteral("edtOsszeg%1").arg(i));
        QVERIFY(field);
        if (auto *box = qobject_cast<QSpinBox *>(field))
            box->clear();
        QTest::keyClicks(field, QString::number(3 - i));
    }
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblErtek0"))->text(), values.at(0));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblErtek1"))->text(), values.at(1));
    QCOMPARE(dialog.totalText(), total);
    QCOMPARE(dialog.differenceCaption(), caption);
    QCOMPARE(dialog.differenceText(), difference);
    QCOMPARE(dialog.count().lines.size(), forint ? 12 : 2);
}

void TestCashCount::dialogButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("counted");

    QTest::newRow("Rögzít") << "btnOk" << true << true;
    QTest::newRow("Kihagy") << "btnKihagy" << true << false;
    QTest::newRow("Mégsem") << "btnCancel" << false << false;
}

void TestCashCount::dialogButtons()
{
    QFETCH(QString, button);
    QFETCH(bool, closes);
    QFETCH(bool, counted);
    OnNextModal([&button](QDialog *dialog) {
        static_cast<Tfrm_Penztarellenorzes *>(dialog)->setPieces({0, 0, 1});
        dialog->findChild<QPushButton *>(button)->click();
    });
    const CashCountAnswer answer = DefaultCashCountAsk(m_db.session)(5000, QStringLiteral("HUF"), nullptr);
    QCOMPARE(answer.has_value(), closes);
    if (closes) {
        QCOMPARE(answer->has_value(), counted);
        if (counted)
            QCOMPARE((*answer)->total(), 5000.0);
    }
}

void TestCashCount::countIsStoredWithTheClosing_data()
{
    QTest::addColumn<int>("answer"); // 0 count, 1 skip, 2 cancel
    QTest::addColumn<bool>("dayOpen");
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("lines");

    QTest::newRow("counted") << 0 << true << 1 << 12;
    QTest::newRow("skipped") << 1 << true << 1 << 0;
    QTest::newRow("cancelled") << 2 << true << 0 << 0;
    // Another workstation closed the day after the count was asked: nothing is stored.
    QTest::newRow("closed meanwhile") << 0 << false << 0 << 0;
}

void TestCashCount::countIsStoredWithTheClosing()
{
    QFETCH(int, answer);
    QFETCH(bool, dayOpen);
    QFETCH(int, record);
    QFETCH(int, lines);
    m_db.session.openDay = QDate(2026, 3, 9);
    const int row = m_db.pending(m_till, LedgerFixture::Receipt, 2500, QDate(2026, 3, 9));
    QCOMPARE(BookVoucher(*m_db.engine, row, AnyDay()).check, BookingCheck::Allowed);
    double askedBook = -1;
    QString askedCurrency;
    const CashCountAsk ask = [&](double book, const QString &currency, QWidget *) -> CashCountAnswer {
        askedBook = book;
        askedCurrency = currency;
        if (!dayOpen)
            CloseDay(*m_db.engine, m_till, m_db.session.openDay, QStringLiteral("teszt"));
        if (answer == 0)
            return std::optional<CashCount>(CashCount::OfPieces({5, 0, 0, 0, 2, 1}));
        if (answer == 1)
            return std::optional<CashCount>();
        return std::nullopt;
    };
    m_db.messages.answers = {true};
    const int closed = NapLezar(m_db.session, *m_db.engine, m_db.messages, nullptr, ask);
    // Asked after the confirmation, at the till's book balance.
    QCOMPARE(askedBook, 102500.0);
    QCOMPARE(askedCurrency, QStringLiteral("Ft"));
    QCOMPARE(closed, record);
    const int stored = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM penztarellenorzes;")).toInt();
    QCOMPARE(stored, lines);
    if (lines > 0) {
        const std::optional<CashCount> count = ReadCashCount(*m_db.engine, record);
        QVERIFY(count);
        QCOMPARE(count->total(), 102500.0);
        QCOMPARE(count->lines.at(4).db, 2);
    } else if (record > 0) {
        QVERIFY(!ReadCashCount(*m_db.engine, record));
    }
    // The closing's entry in the event log ends with the counted total when there was a count.
    if (record > 0)
        QCOMPARE(m_db.scalar(QStringLiteral("SELECT szoveg FROM naplo WHERE esemeny = 'Napzárás';"))
                     .toString()
                     .endsWith(QStringLiteral(", számolt 102500")),
                 lines > 0);
}

QTEST_MAIN(TestCashCount)
#include "test_cashcount.moc"
