#include "engine.h"
#include "ledgersearch.h"
#include "query.h"
#include "testserver.h"

#include <QDate>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

// The detailed search on a real database: what it finds, and that it leaves no read open.
class TestLedgerSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void eachSearchedFieldFindsTheText_data();
    void eachSearchedFieldFindsTheText();
    void textIsComparedInUpperCaseAndAsALikePattern_data();
    void textIsComparedInUpperCaseAndAsALikePattern();
    void onlyTheTillsRowsWithAClientAreFound();
    void emptyTextListsEveryRowOfTheTillWithAClient();
    void tillIsFoundThroughItsIndex();
    void largeResultIsReadByPagesInAnyOrder();
    void rowGoneSinceTheSearchShowsEmpty();
    void noReadStaysOpen();

private:
    qint64 client(const QString &name)
    {
        return m_engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), name}});
    }
    // A booked, unclosed ledger row of the till with the client and the given fields.
    qint64 row(int till, const QVariant &ugyfel, QVariantMap fields = {})
    {
        fields.insert(QStringLiteral("kassza"), till);
        fields.insert(QStringLiteral("ugyfel"), ugyfel);
        if (!fields.contains(QStringLiteral("kiadva")))
            fields.insert(QStringLiteral("kiadva"), QStringLiteral("I"));
        if (!fields.contains(QStringLiteral("lezarva")))
            fields.insert(QStringLiteral("lezarva"), QStringLiteral("N"));
        if (!fields.contains(QStringLiteral("kibe")))
            fields.insert(QStringLiteral("kibe"), QStringLiteral("B"));
        return m_engine->insert(QStringLiteral("dromvel"), fields);
    }
    QList<qint64> found(int till, const QString &text)
    {
        LedgerSearch search(*m_engine);
        search.setCondition(till, text);
        search.open();
        QList<qint64> keys;
        for (int r = 0; r < search.rowCount(); ++r)
            keys.append(search.key(r));
        return keys;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TestPlace> m_place;
    std::unique_ptr<Engine> m_engine;
    qint64 m_client = 0;
};

void TestLedgerSearch::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
}

void TestLedgerSearch::init()
{
    m_place = std::make_unique<TestPlace>(m_dir.path());
    m_engine = std::make_unique<Engine>(QStringLiteral("search"));
    m_engine->open(m_place->path());
    for (const char *name : {"Főpénztár", "Kis kassza"})
        m_engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QString::fromUtf8(name)}});
    m_client = client(QStringLiteral("Nagy Béla"));
}

void TestLedgerSearch::cleanup()
{
    m_engine.reset();
    m_place.reset();
    for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files))
        QFile::remove(QDir(m_dir.path()).filePath(name));
}

void TestLedgerSearch::eachSearchedFieldFindsTheText_data()
{
    QTest::addColumn<QString>("field");
    for (const char *field : {"szoveg", "forgjogcim1", "forgjogcim2", "forgjogcim3", "bizszam1", "bizszam2", "bizszam3",
                              "szoveg1", "szoveg2", "szoveg3", "ugyfel_nev"})
        QTest::newRow(field) << QString::fromLatin1(field);
}

void TestLedgerSearch::eachSearchedFieldFindsTheText()
{
    QFETCH(QString, field);
    const QString stored = QStringLiteral("Xö-Őrs 12");
    // The text in that one field, and a row beside it that holds it nowhere.
    const qint64 holder =
        field == QLatin1String("ugyfel_nev") ? row(1, client(stored)) : row(1, m_client, {{field, stored}});
    row(1, m_client, {{QStringLiteral("szoveg"), QStringLiteral("más")}});
    QCOMPARE(found(1, QStringLiteral("xö-őrs")), QList<qint64>{holder});
    QCOMPARE(found(1, QStringLiteral("XÖ-ŐRS 12")), QList<qint64>{holder});
    QCOMPARE(found(1, QStringLiteral("Őrs 13")), QList<qint64>{});
}

void TestLedgerSearch::textIsComparedInUpperCaseAndAsALikePattern_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    const QString szoveg = QStringLiteral("szoveg");
    QTest::newRow("lower finds upper") << szoveg << QStringLiteral("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP")
                                       << QStringLiteral("árvíztűrő") << true;
    QTest::newRow("upper finds lower") << szoveg << QStringLiteral("árvíztűrő tükörfúrógép")
                                       << QStringLiteral("TÜKÖRFÚRÓGÉP") << true;
    QTest::newRow("accent is a letter of its own")
        << szoveg << QStringLiteral("ÖRÖM") << QStringLiteral("orom") << false;
    QTest::newRow("kp in a document number")
        << QStringLiteral("bizszam2") << QStringLiteral("KP-12") << QStringLiteral("kp") << true;
    QTest::newRow("kp in a client name") << QStringLiteral("ugyfel_nev") << QStringLiteral("Kp Trade Bt.")
                                         << QStringLiteral("kp") << true;
    QTest::newRow("quote searched literally")
        << szoveg << QStringLiteral("Levél O'Briennek") << QStringLiteral("o'brien") << true;
    QTest::newRow("quote must be there") << szoveg << QStringLiteral("Levél OBriennek") << QStringLiteral("o'brien")
                                         << false;
    QTest::newRow("quote and parenthesis")
        << szoveg << QStringLiteral("Tétel") << QStringLiteral("x') OR ('1'='1") << false;
    QTest::newRow("percent is any text") << szoveg << QStringLiteral("alma és körte") << QStringLiteral("alma%körte")
                                         << true;
    QTest::newRow("percent matches no percent")
        << szoveg << QStringLiteral("500 forint") << QStringLiteral("50%") << true;
    QTest::newRow("underscore is one character")
        << szoveg << QStringLiteral("KP-12") << QStringLiteral("kp_12") << true;
    QTest::newRow("underscore is not none") << szoveg << QStringLiteral("KP12") << QStringLiteral("kp_12") << false;
}

void TestLedgerSearch::textIsComparedInUpperCaseAndAsALikePattern()
{
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QFETCH(QString, text);
    QFETCH(bool, found);
    const qint64 holder =
        field == QLatin1String("ugyfel_nev") ? row(1, client(stored)) : row(1, m_client, {{field, stored}});
    QCOMPARE(this->found(1, text), found ? QList<qint64>{holder} : QList<qint64>{});
    // The ledger is as it was, whatever the text held.
    QCOMPARE(Query(*m_engine, QStringLiteral("SELECT COUNT(*) FROM dromvel;")).firstValue().toInt(), 1);
}

void TestLedgerSearch::onlyTheTillsRowsWithAClientAreFound()
{
    const QString text = QStringLiteral("Irodaszer");
    const qint64 booked = row(1, m_client, {{QStringLiteral("szoveg"), text}});
    const qint64 pending = row(1, m_client, {{QStringLiteral("szoveg1"), text}, {QStringLiteral("kiadva"), "N"}});
    const qint64 closed = row(1, m_client, {{QStringLiteral("forgjogcim2"), text}, {QStringLiteral("lezarva"), "I"}});
    row(2, m_client, {{QStringLiteral("szoveg"), text}});
    row(1, QVariant(), {{QStringLiteral("szoveg"), text}});
    row(1, 999, {{QStringLiteral("szoveg"), text}});
    QCOMPARE(found(1, QStringLiteral("irodaszer")), (QList<qint64>{booked, pending, closed}));
    QCOMPARE(found(2, QStringLiteral("irodaszer")).size(), 1);
    QCOMPARE(found(3, QStringLiteral("irodaszer")), QList<qint64>{});
}

void TestLedgerSearch::emptyTextListsEveryRowOfTheTillWithAClient()
{
    const qint64 a = row(1, m_client);
    const qint64 b = row(1, m_client, {{QStringLiteral("kiadva"), QStringLiteral("N")}});
    row(1, QVariant());
    row(2, m_client);
    QCOMPARE(found(1, QString()), (QList<qint64>{a, b}));
}

void TestLedgerSearch::tillIsFoundThroughItsIndex()
{
    SKIP_ON_SERVER("the server plans by its statistics; its index use is measured in bench/");
    LedgerSearch search(*m_engine);
    search.setCondition(1, QStringLiteral("kp"));
    Query plan(*m_engine, QStringLiteral("EXPLAIN QUERY PLAN ") + search.sqlText());
    plan.setInt(QStringLiteral("pkassza"), 1).setText(QStringLiteral("pminta"), QStringLiteral("%KP%"));
    plan.open();
    QStringList steps;
    while (plan.next())
        steps.append(plan.value(3).toString());
    QVERIFY2(steps.filter(QStringLiteral("dromvel")).filter(QStringLiteral("USING INDEX")).size() == 1,
             qPrintable(steps.join(QStringLiteral("; "))));
    QVERIFY2(steps.filter(QStringLiteral("SCAN dromvel")).isEmpty(), qPrintable(steps.join(QStringLiteral("; "))));
}

void TestLedgerSearch::largeResultIsReadByPagesInAnyOrder()
{
    const int rows = LedgerSearch::PageRows * (LedgerSearch::KeptPages + 2) + 7;
    m_engine->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                  "INSERT INTO dromvel (kassza, ugyfel, kibe, kiadva, lezarva, ssz, betujel, szoveg) "
                                  "SELECT 2 - i % 2, %2, 'B', 'I', 'N', i, 'KB', 'Tétel ' || i FROM n;")
                       .arg(rows * 2)
                       .arg(m_client));
    LedgerSearch search(*m_engine);
    search.setCondition(1, QStringLiteral("tétel"));
    search.setOrderField(QStringLiteral("ssz"));
    search.open();
    QCOMPARE(search.rowCount(), rows);
    // Rows of till 1 have odd serials: result row r holds serial 2r + 1.
    for (int r : {0, rows - 1, LedgerSearch::PageRows, 3, rows / 2, rows - 2, 1, LedgerSearch::PageRows - 1, 0}) {
        QCOMPARE(search.value(r, QStringLiteral("ssz")).toInt(), 2 * r + 1);
        QCOMPARE(search.value(r, QStringLiteral("szoveg")).toString(), QStringLiteral("Tétel %1").arg(2 * r + 1));
        QCOMPARE(search.value(r, QStringLiteral("ugyfel_nev")).toString(), QStringLiteral("Nagy Béla"));
        QCOMPARE(search.key(r), search.value(r, QStringLiteral("dromvel")).toLongLong());
    }
    QCOMPARE(search.key(rows), 0);
    QVERIFY(search.value(rows, QStringLiteral("ssz")).isNull());
    QVERIFY(search.value(-1, QStringLiteral("ssz")).isNull());
}

void TestLedgerSearch::rowGoneSinceTheSearchShowsEmpty()
{
    const qint64 a = row(1, m_client, {{QStringLiteral("szoveg"), QStringLiteral("kp 1")}});
    const qint64 b =
        row(1, m_client,
            {{QStringLiteral("szoveg"), QStringLiteral("kp 2")}, {QStringLiteral("dat_kiadva"), QDate(2026, 3, 4)}});
    LedgerSearch search(*m_engine);
    search.setCondition(1, QStringLiteral("kp"));
    search.open();
    m_engine->remove(QStringLiteral("dromvel"), QStringLiteral("dromvel"), a);
    QCOMPARE(search.rowCount(), 2);
    QCOMPARE(search.key(0), a);
    QVERIFY(search.value(0, QStringLiteral("szoveg")).isNull());
    QCOMPARE(search.value(1, QStringLiteral("szoveg")).toString(), QStringLiteral("kp 2"));
    QCOMPARE(search.key(1), b);
    // A search again leaves it out.
    search.open();
    QCOMPARE(search.rowCount(), 1);
    QCOMPARE(search.value(0, QStringLiteral("dat_kiadva")), QVariant(QDate(2026, 3, 4)));
}

void TestLedgerSearch::noReadStaysOpen()
{
    for (int i = 0; i < 300; ++i)
        row(1, m_client, {{QStringLiteral("szoveg"), QStringLiteral("kp %1").arg(i)}});
    LedgerSearch search(*m_engine);
    search.setCondition(1, QStringLiteral("kp"));
    search.open();
    QCOMPARE(search.value(200, QStringLiteral("szoveg")).toString(), QStringLiteral("kp 200"));
    // Another workstation writes; a checkpoint that must wait for no reader shows that none holds a snapshot.
    SKIP_ON_SERVER("the write-ahead log and its checkpoint are SQLite's");
    Engine other(QStringLiteral("other"));
    other.open(m_dir.path());
    other.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Harmadik")}});
    Query checkpoint(*m_engine, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
    checkpoint.open();
    QVERIFY(checkpoint.next());
    QCOMPARE(checkpoint.value(0).toInt(), 0);
    checkpoint.close();
    // The program's connection writes after the other's commit.
    m_engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Negyedik")}});
    QCOMPARE(search.value(0, QStringLiteral("szoveg")).toString(), QStringLiteral("kp 0"));
}

QTEST_MAIN(TestLedgerSearch)
#include "test_ledgersearch.moc"
