#include "engine.h"
#include "ledgercheck.h"
#include "ledgerops.h"
#include "ledgerrows.h"
#include "ledgersound.h"
#include "query.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "testserver.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// The check on a ledger written by the program's own booking (three months of sample vouchers in two tills,
// advances among them) and closed twice, then with one fault planted at a time.
class TestLedgerCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void soundLedgerHasNoFindings();
    void plantedFaultIsFound_data();
    void plantedFaultIsFound();
    void checkChangesNothing();
    void findingsBeyondTheLimitAreCounted();

private:
    QVariant scalar(const QString &sql)
    {
        Query q(*m_engine, sql);
        q.open();
        return q.next() ? q.value(0) : QVariant();
    }
    // A day closing of the till's booked, unclosed rows up to the booking number, as the program closes a day.
    void close(int till, qint64 uptoId);

    QTemporaryDir m_dir;
    int m_count = 0;
    // The sample ledger's folder or server address, and the copy the running test works on.
    QString m_sample;
    std::unique_ptr<TestPlace> m_samplePlace;
    QString m_copy;
    std::unique_ptr<Engine> m_engine;
};

// The sample ledger is built once; every test works on a copy of it.
void TestLedgerCheck::initTestCase()
{
    const QString folder = m_dir.filePath(QStringLiteral("sample"));
    QDir().mkpath(folder);
    m_samplePlace = std::make_unique<TestPlace>(folder);
    m_sample = m_samplePlace->path();
    m_engine = std::make_unique<Engine>(QStringLiteral("check"));
    m_engine->open(m_sample);
    FillSampleData(*m_engine);
    FillSampleVouchers(*m_engine, QDate(2024, 6, 14));
    const qint64 middle = scalar(QStringLiteral("SELECT MAX(dromvelid) / 2 FROM dromvel WHERE kassza=1;")).toLongLong();
    close(1, middle);
    close(1, scalar(QStringLiteral("SELECT MAX(dromvelid) FROM dromvel;")).toLongLong());
    m_engine.reset();
}

void TestLedgerCheck::init()
{
    if (TestServer::inUse()) {
        m_copy = TestServer::copyOf(m_sample);
    } else {
        m_copy = m_dir.filePath(QString::number(++m_count));
        QDir().mkpath(m_copy);
        QVERIFY(QFile::copy(QDir(m_sample).filePath(QString::fromLatin1(Engine::FileName)),
                            QDir(m_copy).filePath(QString::fromLatin1(Engine::FileName))));
    }
    m_engine = std::make_unique<Engine>(QStringLiteral("check"));
    m_engine->open(m_copy);
}

void TestLedgerCheck::cleanup()
{
    m_engine.reset();
    if (TestServer::inUse())
        TestServer::dropAtExit(m_copy);
}

void TestLedgerCheck::close(int till, qint64 uptoId)
{
    Transaction transaction(*m_engine);
    Query rows(*m_engine, QStringLiteral("SELECT dromvelid, dat_kiadva, nyito, zaro FROM dromvel WHERE kassza=:k AND "
                                         "kiadva='I' AND lezarva='N' AND dromvelid<=:u ORDER BY dromvelid;"));
    rows.setInt(QStringLiteral("k"), till).setInt(QStringLiteral("u"), uptoId).open();
    QVariantList first, last;
    while (rows.next()) {
        last = {rows.value(1), rows.value(2), rows.value(3)};
        if (first.isEmpty())
            first = last;
    }
    QVERIFY(!first.isEmpty());
    const int number = LedgerOps(*m_engine).NextMaxId(QStringLiteral("zarbizonylat"));
    m_engine->insert(QStringLiteral("zarbizonylat"), {{QStringLiteral("zarbizonylat"), number},
                                                      {QStringLiteral("kassza"), till},
                                                      {QStringLiteral("dat_tol"), first.at(0)},
                                                      {QStringLiteral("dat_ig"), last.at(0)},
                                                      {QStringLiteral("nyito"), first.at(1)},
                                                      {QStringLiteral("zaro"), last.at(2)}});
    Query stamp(*m_engine, QStringLiteral("UPDATE dromvel SET lezarva='I', zarbizonylat=:z WHERE kassza=:k AND "
                                          "kiadva='I' AND lezarva='N' AND dromvelid<=:u;"));
    stamp.setInt(QStringLiteral("z"), number).setInt(QStringLiteral("k"), till).setInt(QStringLiteral("u"), uptoId);
    stamp.exec();
    transaction.commit();
}

void TestLedgerCheck::soundLedgerHasNoFindings()
{
    QVERIFY(scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel WHERE kiadva='I';")).toInt() > 100);
    QVERIFY(scalar(QStringLiteral("SELECT COUNT(*) FROM ugyfel WHERE elszamolasra > 0;")).toInt() > 0);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM zarbizonylat;")).toInt(), 2);
    QVERIFY_LEDGER_SOUND(*m_engine);
    QCOMPARE(LedgerCheck::report({}), QStringLiteral("Nincs hiba."));
    QCOMPARE(LedgerCheck::summary({}), QStringLiteral("Nincs hiba."));
}

void TestLedgerCheck::plantedFaultIsFound_data()
{
    // The fault as statements, then what each finding must name. %1 .. %3 in the statements and the expected
    // texts stand for the values of the look-up query's first row.
    QTest::addColumn<QString>("lookup");
    QTest::addColumn<QStringList>("plant");
    QTest::addColumn<QStringList>("expected");

    // A pending voucher carrying the serial of a booked one: two forms with one number.
    QTest::newRow("duplicate serial")
        << "SELECT b.dromvel, a.betujel || substr('0000' || a.ssz, length('0000' || a.ssz) - 4), a.dromvel FROM "
           "dromvel a, dromvel b "
           "WHERE a.kiadva='I' AND a.ssz=3 AND b.kiadva='N' LIMIT 1;"
        << QStringList{"UPDATE dromvel SET betujel=(SELECT betujel FROM dromvel WHERE dromvel=%3), ssz=3 "
                       "WHERE dromvel=%1;"}
        << QStringList{"%2 bizonylatszám több soron is szerepel"};
    QTest::newRow("serial skipped") << "SELECT dromvel, betujel || substr('0000' || ssz, length('0000' || ssz) - 4) "
                                       "FROM dromvel WHERE betujel='FB' "
                                       "ORDER BY ssz DESC LIMIT 1;"
                                    << QStringList{"UPDATE dromvel SET ssz=ssz+1 WHERE dromvel=%1;"}
                                    << QStringList{"Hiányzó bizonylatszám: %2."};
    QTest::newRow("balance chain broken in the middle")
        << "SELECT dromvel, betujel || substr('0000' || ssz, length('0000' || ssz) - 4) FROM dromvel WHERE kassza=2 "
           "AND kiadva='I' "
           "AND kibe='B' ORDER BY dromvelid LIMIT 1 OFFSET 5;"
        << QStringList{"UPDATE dromvel SET nyito=nyito+100, zaro=zaro+100 WHERE dromvel=%1;"}
        << QStringList{"%2 bizonylat (%1. sor): a nyitó egyenleg", "de az előző könyvelt bizonylat záró egyenlege"};
    QTest::newRow("closing balance that does not follow")
        << "SELECT dromvel, betujel || substr('0000' || ssz, length('0000' || ssz) - 4) FROM dromvel WHERE kassza=2 "
           "AND kiadva='I' "
           "ORDER BY dromvelid DESC LIMIT 1;"
        << QStringList{"UPDATE dromvel SET zaro=zaro-1 WHERE dromvel=%1;"}
        << QStringList{"„Valuta pénztár” kassza, a(z) %2 bizonylat (%1. sor): a záró egyenleg"};
    QTest::newRow("booked advance without its settlement number")
        << "SELECT dromvel, betujel || substr('0000' || ssz, length('0000' || ssz) - 4) FROM dromvel WHERE kiadva='I' "
           "AND elszamol_kell='I' "
           "LIMIT 1;"
        << QStringList{"UPDATE dromvel SET elszamol_ssz=0 WHERE dromvel=%1;"}
        << QStringList{"%2 bizonylat (%1. sor) könyvelt előleg, de nincs elszámolási sorszáma."};
    // The database's own backstop refuses this; an older or imported database may lack it.
    QTest::newRow("booking number twice")
        << "SELECT a.dromvel, b.dromvelid, b.dromvel FROM dromvel a, dromvel b WHERE a.kiadva='I' AND b.kiadva='I' "
           "AND b.dromvelid = a.dromvelid - 1 AND a.kassza <> b.kassza LIMIT 1;"
        << QStringList{"DROP INDEX ix_dromvel_booked_id;", "UPDATE dromvel SET dromvelid=%2 WHERE dromvel=%1;"}
        << QStringList{"%2 könyvelési sorszám (dromvelid) több könyvelt soron is szerepel"};
    QTest::newRow("closing record off by one row")
        << "SELECT zaro FROM dromvel WHERE zarbizonylat=1 ORDER BY dromvelid DESC LIMIT 1 OFFSET 1;"
        << QStringList{"UPDATE zarbizonylat SET zaro=%1 WHERE zarbizonylat=1;"}
        << QStringList{"00001 számú zárás záró egyenlege"};
    QTest::newRow("closed row without its record")
        << "SELECT dromvel FROM dromvel WHERE zarbizonylat=2 ORDER BY dromvelid LIMIT 1 OFFSET 3;"
        << QStringList{"UPDATE dromvel SET zarbizonylat=7 WHERE dromvel=%1;"}
        << QStringList{"00007 számú zárás nem létezik, pedig lezárt sorok hivatkoznak rá (először a(z) %1. sor)"};
    QTest::newRow("closing record that closed nothing")
        << "SELECT 1;"
        << QStringList{"INSERT INTO zarbizonylat (zarbizonylat, kassza, nyito, zaro) VALUES (3, 1, 0, 0);"}
        << QStringList{"00003 számú zárás egyetlen könyvelt sort sem zárt le"};
    QTest::newRow("wrong client total") << "SELECT ugyfel, ugyfel_nev FROM ugyfel WHERE elszamolasra > 0 LIMIT 1;"
                                        << QStringList{"UPDATE ugyfel SET elszamolasra=elszamolasra+1 WHERE ugyfel=%1;"}
                                        << QStringList{"%2 (%1. ügyfél): az elszámolásra kiadott összeg"};
}

void TestLedgerCheck::plantedFaultIsFound()
{
    QFETCH(QString, lookup);
    QFETCH(QStringList, plant);
    QFETCH(QStringList, expected);
    Query q(*m_engine, lookup);
    q.open();
    QVERIFY(q.next());
    QStringList values;
    for (int i = 0; i < q.fieldCount(); ++i)
        values.append(q.value(i).toString());
    q.close();
    auto filled = [&values](QString text) {
        for (int i = 0; i < values.size(); ++i)
            text.replace(QStringLiteral("%%1").arg(i + 1), values.at(i));
        return text;
    };
    for (const QString &statement : plant)
        m_engine->exec(filled(statement));

    const QStringList findings = LedgerCheck::run(*m_engine);
    QCOMPARE(findings.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(findings.at(i).contains(filled(expected.at(i))), qPrintable(findings.join(QLatin1Char('\n'))));
    QCOMPARE(LedgerCheck::report(findings), findings.join(QLatin1Char('\n')));
    QCOMPARE(LedgerCheck::summary(findings), QStringLiteral("%1 hiba, lásd lent.").arg(expected.size()));
}

void TestLedgerCheck::checkChangesNothing()
{
    m_engine->exec(QStringLiteral("UPDATE ugyfel SET elszamolasra=elszamolasra+1;"));
    // SQLite counts every row written, even one written as it was.
    const QString changes = m_engine->isServer() ? QString() : QStringLiteral("SELECT total_changes();");
    const qint64 before = changes.isEmpty() ? 0 : scalar(changes).toLongLong();
    const QStringList unchanged = LedgerRows(*m_engine);
    QVERIFY(!LedgerCheck::run(*m_engine).isEmpty());
    if (!changes.isEmpty())
        QCOMPARE(scalar(changes).toLongLong(), before);
    QCOMPARE(LedgerRows(*m_engine), unchanged);
    QCOMPARE(m_engine->transactionDepth(), 0);
    // The snapshot is over: another connection can write at once.
    m_engine->exec(QStringLiteral("UPDATE ugyfel SET elszamolasra=elszamolasra-1;"));
    QVERIFY_LEDGER_SOUND(*m_engine);
}

void TestLedgerCheck::findingsBeyondTheLimitAreCounted()
{
    Transaction transaction(*m_engine);
    for (int i = 0; i < LedgerCheck::MaxFindings + 5; ++i)
        m_engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Ügyfél %1").arg(i)},
                                                    {QStringLiteral("elszamolasra"), 10.0}});
    transaction.commit();
    const QStringList findings = LedgerCheck::run(*m_engine);
    QCOMPARE(findings.size(), LedgerCheck::MaxFindings + 1);
    QCOMPARE(findings.last(), QStringLiteral("… és további 5 hiba."));
    QCOMPARE(LedgerCheck::summary(findings), QStringLiteral("Több mint 1000 hiba, lásd lent."));
}

QTEST_GUILESS_MAIN(TestLedgerCheck)
#include "test_ledgercheck.moc"
