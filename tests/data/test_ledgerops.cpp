#include "engine.h"
#include "ledgerops.h"
#include "testserver.h"
#include "query.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

class TestLedgerOps : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyLedgerStartsEverySequenceAtOne();
    void tillBalanceIsTheLastBookedRowOfTheTill();
    void tillNameAndScalarDefaults();
    void tillsSharingALetterCodeShareOneSequence();
    void letterCodeWithAQuoteIsQuoted();
    void settlementNumbersRunOverAllTills();
    void clientTotalAgainstLimit_data();
    void clientTotalAgainstLimit();
    void unknownClientChangesNothingAndSaysNothing();
    void clientChangeRolledBackWithItsTransaction();
    void voucherNumber_data();
    void voucherNumber();
    void everyStatementRunsOnAnIndex_data();
    void everyStatementRunsOnAnIndex();
    void engineErrorsPropagate();

private:
    qint64 addRow(const QVariantMap &values) { return m_engine->insert(QStringLiteral("dromvel"), values); }
    // Booked rows never share their numbers: without a serial of its own a row gets its booking number.
    qint64 booked(int till, int dromvelid, double zaro, const QString &code = QStringLiteral("KB"),
                  std::optional<int> ssz = {})
    {
        return addRow({{QStringLiteral("kassza"), till},
                       {QStringLiteral("kiadva"), QStringLiteral("I")},
                       {QStringLiteral("dromvelid"), dromvelid},
                       {QStringLiteral("zaro"), zaro},
                       {QStringLiteral("betujel"), code},
                       {QStringLiteral("ssz"), ssz.value_or(dromvelid)}});
    }
    qint64 client(const QVariant &total, const QVariant &limit)
    {
        return m_engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kiss Éva")},
                                                           {QStringLiteral("elszamolasra"), total},
                                                           {QStringLiteral("elszamollimit"), limit}});
    }
    QVariant clientTotal(qint64 id)
    {
        Query q(*m_engine, QStringLiteral("SELECT elszamolasra FROM ugyfel WHERE ugyfel=:u;"));
        q.setInt(QStringLiteral("u"), id).open();
        return q.next() ? q.value(0) : QVariant();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TestPlace> m_place;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<LedgerOps> m_ops;
    int m_count = 0;
};

void TestLedgerOps::init()
{
    const QString folder = m_dir.filePath(QString::number(++m_count));
    QDir().mkpath(folder);
    m_place = std::make_unique<TestPlace>(folder);
    m_engine = std::make_unique<Engine>(QStringLiteral("ledgerops"));
    m_engine->open(m_place->path());
    m_ops = std::make_unique<LedgerOps>(*m_engine);
}

void TestLedgerOps::cleanup()
{
    m_ops.reset();
    m_engine.reset();
    m_place.reset();
}

void TestLedgerOps::emptyLedgerStartsEverySequenceAtOne()
{
    QCOMPARE(m_ops->NextId(QStringLiteral("dromvelid"), QStringLiteral("dromvel")), 1);
    QCOMPARE(m_ops->NextMaxId(QStringLiteral("dromvelid"), QStringLiteral("dromvel")), 1);
    QCOMPARE(m_ops->NextMaxId(QStringLiteral("zarbizonylat")), 1);
    QCOMPARE(m_ops->NextSerial(QStringLiteral("KB")), 1);
    QCOMPARE(m_ops->NextSettlementNumber(), 1);
    QCOMPARE(m_ops->TillBalance(1), 0.0);
}

void TestLedgerOps::tillBalanceIsTheLastBookedRowOfTheTill()
{
    // Only pending rows: no balance yet.
    addRow({{QStringLiteral("kassza"), 1},
            {QStringLiteral("kiadva"), QStringLiteral("N")},
            {QStringLiteral("dromvelid"), 0},
            {QStringLiteral("zaro"), 999.0}});
    QCOMPARE(m_ops->TillBalance(1), 0.0);

    booked(1, 1, 1000.0);
    booked(2, 2, 50.0);
    booked(1, 3, 1250.5);
    booked(2, 4, 75.0);
    // A pending row inserted later does not count, whatever it carries.
    addRow({{QStringLiteral("kassza"), 1},
            {QStringLiteral("kiadva"), QStringLiteral("N")},
            {QStringLiteral("dromvelid"), 0},
            {QStringLiteral("zaro"), 1.0}});
    QCOMPARE(m_ops->TillBalance(1), 1250.5);
    QCOMPARE(m_ops->TillBalance(2), 75.0);
    QCOMPARE(m_ops->TillBalance(3), 0.0);
    QCOMPARE(m_ops->NextId(QStringLiteral("dromvelid"), QStringLiteral("dromvel")), 5);
    QCOMPARE(m_ops->NextMaxId(QStringLiteral("dromvelid"), QStringLiteral("dromvel")), 5);

    // A booked row whose zaro is empty gives 0.
    addRow({{QStringLiteral("kassza"), 2},
            {QStringLiteral("kiadva"), QStringLiteral("I")},
            {QStringLiteral("dromvelid"), 6}});
    QCOMPARE(m_ops->TillBalance(2), 0.0);
}

void TestLedgerOps::tillNameAndScalarDefaults()
{
    const qint64 till =
        m_engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}});
    const qint64 unnamed =
        m_engine->insert(QStringLiteral("kassza"), {{QStringLiteral("valuta"), QStringLiteral("Ft")}});
    QCOMPARE(m_ops->TillName(int(till)), QStringLiteral("Főpénztár"));
    QCOMPARE(m_ops->TillName(int(unnamed)), QString());
    QCOMPARE(m_ops->TillName(99), QString());
    QCOMPARE(m_ops->QueryText(QStringLiteral("SELECT valuta FROM kassza WHERE kassza=99;"), QStringLiteral("x")),
             QStringLiteral("x"));
    QCOMPARE(m_ops->QueryFloat(QStringLiteral("SELECT nyito FROM kassza WHERE kassza=1;"), -1.5), -1.5);
    QCOMPARE(m_ops->QueryInt(QStringLiteral("SELECT COUNT(*) FROM kassza;"), -1), 2);
    m_ops->ExecSql(QStringLiteral("UPDATE kassza SET most=12.25 WHERE kassza=1;"));
    QCOMPARE(m_ops->QueryFloat(QStringLiteral("SELECT most FROM kassza WHERE kassza=1;"), 0), 12.25);
}

void TestLedgerOps::tillsSharingALetterCodeShareOneSequence()
{
    booked(1, 1, 0, QStringLiteral("KB"), 1);
    QCOMPARE(m_ops->NextSerial(QStringLiteral("KB")), 2);
    booked(2, 2, 0, QStringLiteral("KB"), 2);
    QCOMPARE(m_ops->NextSerial(QStringLiteral("KB")), 3);
    booked(1, 3, 0, QStringLiteral("KK"), 1);
    QCOMPARE(m_ops->NextSerial(QStringLiteral("KB")), 3);
    QCOMPARE(m_ops->NextSerial(QStringLiteral("KK")), 2);
    QCOMPARE(m_ops->NextSerial(QStringLiteral("XX")), 1);
    // A pending row that already carries its serial takes part too.
    addRow({{QStringLiteral("kassza"), 3},
            {QStringLiteral("kiadva"), QStringLiteral("N")},
            {QStringLiteral("betujel"), QStringLiteral("XX")},
            {QStringLiteral("ssz"), 7}});
    QCOMPARE(m_ops->NextSerial(QStringLiteral("XX")), 8);
}

void TestLedgerOps::letterCodeWithAQuoteIsQuoted()
{
    booked(1, 1, 0, QStringLiteral("O'"), 41);
    QCOMPARE(m_ops->NextSerial(QStringLiteral("O'")), 42);
    QCOMPARE(m_ops->NextSerial(QStringLiteral("' OR 1=1 --")), 1);
}

void TestLedgerOps::settlementNumbersRunOverAllTills()
{
    addRow({{QStringLiteral("kassza"), 1}, {QStringLiteral("elszamol_ssz"), 4}});
    addRow({{QStringLiteral("kassza"), 2}, {QStringLiteral("elszamol_ssz"), 9}});
    addRow({{QStringLiteral("kassza"), 2}, {QStringLiteral("elszamol_ssz"), 0}});
    QCOMPARE(m_ops->NextSettlementNumber(), 10);
}

void TestLedgerOps::clientTotalAgainstLimit_data()
{
    QTest::addColumn<QVariant>("total");
    QTest::addColumn<QVariant>("limit");
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("expected");
    QTest::addColumn<bool>("warned");
    const QVariant null;
    QTest::newRow("empty total takes the amount") << null << QVariant(1000.0) << 300.0 << 300.0 << false;
    QTest::newRow("exactly the limit") << QVariant(700.0) << QVariant(1000.0) << 300.0 << 1000.0 << false;
    QTest::newRow("one cent above") << QVariant(700.0) << QVariant(1000.0) << 300.01 << 1000.01 << true;
    QTest::newRow("settling down to the limit") << QVariant(1500.0) << QVariant(1000.0) << -500.0 << 1000.0 << false;
    QTest::newRow("settling, still above") << QVariant(1500.0) << QVariant(1000.0) << -400.0 << 1100.0 << true;
    QTest::newRow("empty limit always warns") << QVariant(500.0) << null << 100.0 << 600.0 << true;
    QTest::newRow("empty limit warns after settling") << QVariant(500.0) << null << -500.0 << 0.0 << true;
    QTest::newRow("zero limit") << QVariant(0.0) << QVariant(0.0) << 1.0 << 1.0 << true;
}

void TestLedgerOps::clientTotalAgainstLimit()
{
    QFETCH(QVariant, total);
    QFETCH(QVariant, limit);
    QFETCH(double, amount);
    QFETCH(double, expected);
    QFETCH(bool, warned);
    const qint64 id = client(total, limit);
    const qint64 other = client(5.0, 10.0);
    const ClientSettlement result = m_ops->ChangeClientSettlement(int(id), amount);
    QVERIFY(result.found);
    QVERIFY(qAbs(clientTotal(id).toDouble() - expected) < 1e-9);
    QVERIFY(qAbs(result.total - expected) < 1e-9);
    QCOMPARE(clientTotal(other).toDouble(), 5.0);
    QCOMPARE(result.overLimit, warned);
}

void TestLedgerOps::unknownClientChangesNothingAndSaysNothing()
{
    const qint64 id = client(QVariant(), QVariant());
    const ClientSettlement result = m_ops->ChangeClientSettlement(int(id) + 1, 100.0);
    QVERIFY(!result.found);
    QVERIFY(clientTotal(id).isNull());
}

void TestLedgerOps::clientChangeRolledBackWithItsTransaction()
{
    const qint64 id = client(100.0, 1000.0);
    try {
        Transaction t(*m_engine);
        m_ops->ChangeClientSettlement(int(id), 50.0);
        m_ops->ExecSql(QStringLiteral("UPDATE nincs SET x=1;"));
        t.commit();
    } catch (const EngineError &) {
    }
    QCOMPARE(clientTotal(id).toDouble(), 100.0);
}

void TestLedgerOps::voucherNumber_data()
{
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QVariant>("serial");
    QTest::addColumn<QString>("expected");
    QTest::newRow("usual") << QVariant(QStringLiteral("KB")) << QVariant(12) << QStringLiteral("KB00012");
    QTest::newRow("six digits") << QVariant(QStringLiteral("KB")) << QVariant(123456) << QStringLiteral("KB123456");
    QTest::newRow("unbooked") << QVariant(QStringLiteral("KK")) << QVariant(0) << QStringLiteral("KK00000");
    QTest::newRow("neither") << QVariant() << QVariant() << QStringLiteral("00000");
}

void TestLedgerOps::voucherNumber()
{
    QFETCH(QVariant, code);
    QFETCH(QVariant, serial);
    QFETCH(QString, expected);
    QCOMPARE(LedgerOps::VoucherNumber(code, serial), expected);
}

void TestLedgerOps::everyStatementRunsOnAnIndex_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("TillName") << "SELECT kassza_nev FROM kassza WHERE kassza=1;";
    QTest::newRow("TillBalance 1") << "SELECT MAX(dromvelid) FROM dromvel WHERE (kiadva='I') AND (kassza=1);";
    QTest::newRow("TillBalance 2") << "SELECT zaro FROM dromvel WHERE dromvelid=17;";
    QTest::newRow("NextId") << "SELECT MAX(dromvelid) FROM dromvel;";
    QTest::newRow("NextMaxId") << "SELECT MAX(dromvelid) AS maxid FROM dromvel;";
    QTest::newRow("NextMaxId closing") << "SELECT MAX(zarbizonylat) AS maxid FROM zarbizonylat;";
    QTest::newRow("NextSerial") << "SELECT MAX(ssz) FROM dromvel WHERE betujel='KB';";
    QTest::newRow("NextSettlementNumber") << "SELECT MAX(elszamol_ssz) FROM dromvel";
    QTest::newRow("client update")
        << "UPDATE ugyfel SET elszamolasra = COALESCE(elszamolasra, 0) + 1 WHERE ugyfel = 1;";
    QTest::newRow("client read") << "SELECT elszamolasra, elszamollimit FROM ugyfel WHERE ugyfel = 1;";
    // The main window's unclosed view of a till and its sums.
    QTest::newRow("unclosed view") << "SELECT COUNT(*) FROM dromvel WHERE (dromvel.kassza=2) and (dromvel.kibe<>'N') "
                                      "and ((dromvel.lezarva='N') or (dromvel.kiadva='N'));";
    QTest::newRow("unclosed sums") << "SELECT SUM(bevetel) AS bevesz, SUM(kiadas) AS kiad FROM dromvel "
                                      "WHERE (lezarva='N') AND (kiadva='I') AND (kassza=2);";
}

void TestLedgerOps::everyStatementRunsOnAnIndex()
{
    SKIP_ON_SERVER("the server plans by its statistics; its index use is measured in bench/");
    QFETCH(QString, sql);
    // Some rows, so the planner has statistics-free but realistic tables to look at.
    for (int i = 1; i <= 50; ++i)
        booked(1 + i % 3, i, i, i % 2 ? QStringLiteral("KB") : QStringLiteral("KK"), i);
    Query plan(*m_engine, QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    plan.open();
    QStringList steps;
    while (plan.next())
        steps.append(plan.value(3).toString());
    QVERIFY(!steps.isEmpty());
    for (const QString &step : steps)
        QVERIFY2(!step.startsWith(QStringLiteral("SCAN")), qPrintable(steps.join(QStringLiteral(" / "))));
}

void TestLedgerOps::engineErrorsPropagate()
{
    QVERIFY_THROWS_EXCEPTION(EngineError, m_ops->QueryInt(QStringLiteral("SELECT x FROM nincs;"), 0));
    QVERIFY_THROWS_EXCEPTION(EngineError, m_ops->NextId(QStringLiteral("x; DROP TABLE kassza"), QString()));
    QCOMPARE(m_ops->QueryInt(QStringLiteral("SELECT COUNT(*) FROM kassza;"), -1), 0);
}

QTEST_GUILESS_MAIN(TestLedgerOps)
#include "test_ledgerops.moc"
