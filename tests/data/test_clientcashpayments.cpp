#include "clientcashpayments.h"
#include "engine.h"
#include "query.h"
#include "settingsstore.h"
#include "testdatabase.h"

#include <QtTest>

// Cash paid to a client in a calendar month: what counts towards the monthly limit, and the per-client list.
class TestClientCashPayments : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_db.close(); }

    void monthTotalKeepsToTheCalendarMonth_data();
    void monthTotalKeepsToTheCalendarMonth();
    void limitFromTheSettings();
    void listTotalsPerClientAndMonth();

private:
    void payment(int till, int client, const QDate &day, double amount, const char *kibe = "K",
                 const char *kiadva = "I")
    {
        const bool out = qstrcmp(kibe, "K") == 0;
        m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), till},
                                                        {QStringLiteral("ugyfel"), client},
                                                        {QStringLiteral("kibe"), QString::fromLatin1(kibe)},
                                                        {QStringLiteral("kiadva"), QString::fromLatin1(kiadva)},
                                                        {QStringLiteral("dat_kiadva"), day},
                                                        {QStringLiteral("osszeg"), amount},
                                                        {QStringLiteral("bevetel"), out ? 0.0 : amount},
                                                        {QStringLiteral("kiadas"), out ? amount : 0.0}});
    }

    TestDatabase m_db;
};

void TestClientCashPayments::init()
{
    m_db.fresh(QStringLiteral("clientcash"));
    Engine &engine = *m_db.engine;
    // Two forint tills (one without a currency), a euro till; two clients.
    engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Fő")},
                                             {QStringLiteral("valuta"), QStringLiteral("HUF")}});
    engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Kis")}});
    engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Euró")},
                                             {QStringLiteral("valuta"), QStringLiteral("EUR")}});
    engine.insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kovács Bt.")}});
    engine.insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Alfa Kft.")}});

    payment(1, 1, QDate(2026, 11, 30), 100000);         // the last day of November
    payment(1, 1, QDate(2026, 12, 1), 200000);          // the first day of December
    payment(2, 1, QDate(2026, 12, 15), 400000);         // the other forint till
    payment(1, 1, QDate(2026, 12, 31), 800000);         // the last day of December
    payment(1, 1, QDate(2027, 1, 1), 1600000);          // the first day of January
    payment(3, 1, QDate(2026, 12, 10), 5000);           // euros do not count
    payment(1, 1, QDate(2026, 12, 10), 9000, "B");      // a receipt does not count
    payment(1, 1, QDate(2026, 12, 10), 7000, "K", "N"); // nor a pending payment
    payment(1, 2, QDate(2026, 12, 10), 3000);           // another client's
}

void TestClientCashPayments::monthTotalKeepsToTheCalendarMonth_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("client");
    QTest::addColumn<double>("total");

    QTest::newRow("the last of November") << QDate(2026, 11, 30) << 1 << 100000.0;
    QTest::newRow("the first of December") << QDate(2026, 12, 1) << 1 << 1400000.0;
    QTest::newRow("the last of December") << QDate(2026, 12, 31) << 1 << 1400000.0;
    QTest::newRow("the first of January") << QDate(2027, 1, 1) << 1 << 1600000.0;
    QTest::newRow("February, nothing paid") << QDate(2027, 2, 28) << 1 << 0.0;
    QTest::newRow("the other client") << QDate(2026, 12, 20) << 2 << 3000.0;
}

void TestClientCashPayments::monthTotalKeepsToTheCalendarMonth()
{
    QFETCH(QDate, day);
    QFETCH(int, client);
    QFETCH(double, total);
    QCOMPARE(ClientMonthCashPayments(*m_db.engine, client, day), total);
}

void TestClientCashPayments::limitFromTheSettings()
{
    Engine &engine = *m_db.engine;
    // A new database starts with the usual limit; a database from before the setting (NULL) reads it too.
    QCOMPARE(MonthlyCashPaymentLimit(engine), 1500000.0);
    Query(engine, QStringLiteral("UPDATE beallit SET kpfizetes_havi = NULL;")).exec();
    QCOMPARE(MonthlyCashPaymentLimit(engine), 1500000.0);
    SettingsRow settings = ReadSettings(engine);
    OwnerRow owner = ReadOwner(engine);
    settings.kpFizetesHavi = 0.0;
    SaveSettings(engine, settings, owner, QStringLiteral("admin"));
    QCOMPARE(MonthlyCashPaymentLimit(engine), 0.0);
    QVERIFY(IsForintTill(engine, 1));
    QVERIFY(IsForintTill(engine, 2));
    QVERIFY(!IsForintTill(engine, 3));
}

void TestClientCashPayments::listTotalsPerClientAndMonth()
{
    Query q(*m_db.engine, MonthlyCashPaymentLines().join(QLatin1Char('\n')));
    q.setDate(QStringLiteral("ptol"), QDate(2026, 11, 1))
        .setDate(QStringLiteral("pig"), QDate(2027, 1, 31))
        .setFloat(QStringLiteral("plimit"), 1500000)
        .setFloat(QStringLiteral("plimit2"), 1500000);
    q.open();
    QStringList rows;
    while (q.next())
        rows << QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(q.value(QStringLiteral("honap")).toString(), q.value(QStringLiteral("ugyfel_nev")).toString())
                    .arg(q.value(QStringLiteral("db")).toInt())
                    .arg(q.value(QStringLiteral("osszeg")).toDouble(), 0, 'f', 0)
                    .arg(q.value(QStringLiteral("tullepes")).toString());
    QCOMPARE(rows,
             QStringList({QStringLiteral("2026.11 Kovács Bt. 1 100000 "), QStringLiteral("2026.12 Alfa Kft. 1 3000 "),
                          QStringLiteral("2026.12 Kovács Bt. 3 1400000 "),
                          QStringLiteral("2027.01 Kovács Bt. 1 1600000 igen")}));
}

QTEST_GUILESS_MAIN(TestClientCashPayments)
#include "test_clientcashpayments.moc"
