#include "engine.h"
#include "query.h"
#include "testdatabase.h"

#include <QtTest>

// The values a statement is given reach the engine as they were, whatever they hold and wherever they stand; on the
// server they are written into the statement's text.
class TestQueryValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void valueComesBack_data();
    void valueComesBack();
    void storedTextComesBack();
    void castIsNoParameter();

private:
    TestDatabase m_db;
};

// One till, which no value given to a statement may remove.
void TestQueryValues::initTestCase()
{
    m_db.fresh(QStringLiteral("queryvalues"));
    m_db.engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Fő")}});
}

void TestQueryValues::valueComesBack_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");

    const QString plain = QStringLiteral("SELECT :v");
    QTest::newRow("quotes") << plain << QVariant(QStringLiteral("O'Brien ''idéző'' \"x\""))
                            << QStringLiteral("O'Brien ''idéző'' \"x\"");
    QTest::newRow("backslashes") << plain << QVariant(QStringLiteral("C:\\mappa\\")) << QStringLiteral("C:\\mappa\\");
    QTest::newRow("statement in a value") << plain << QVariant(QStringLiteral("'); DELETE FROM kassza; --"))
                                          << QStringLiteral("'); DELETE FROM kassza; --");
    QTest::newRow("name in a literal and a comment")
        << QStringLiteral("SELECT ':v /* :v */ ' || :v -- :v\n") << QVariant(QStringLiteral("ő"))
        << QStringLiteral(":v /* :v */ ő");
    QTest::newRow("negative number after a minus")
        << QStringLiteral("SELECT 10 -:v") << QVariant(-5.25) << QStringLiteral("15.25");
    QTest::newRow("large integer") << QStringLiteral("SELECT :v + 1") << QVariant(qint64(3000000000))
                                   << QStringLiteral("3000000001");
    QTest::newRow("null") << QStringLiteral("SELECT CASE WHEN :v IS NULL THEN 'üres' ELSE 'van' END") << QVariant()
                          << QStringLiteral("üres");
    QTest::newRow("date") << plain << QVariant(QDate(2024, 2, 29)) << QStringLiteral("2024-02-29");
    QTest::newRow("same name twice") << QStringLiteral("SELECT :v || '-' || :v") << QVariant(QStringLiteral("a:b"))
                                     << QStringLiteral("a:b-a:b");
}

void TestQueryValues::valueComesBack()
{
    QFETCH(QString, sql);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    Query query(*m_db.engine, sql);
    query.setValue(QStringLiteral("v"), value);
    const QVariant result = query.firstValue();
    if (result.typeId() == QMetaType::Double)
        QCOMPARE(result.toDouble(), expected.toDouble());
    else
        QCOMPARE(result.toString(), expected);
    QCOMPARE(Query(*m_db.engine, QStringLiteral("SELECT COUNT(*) FROM kassza")).firstValue().toInt(), 1);
}

// A row written and read through the engine's own statements keeps its text.
void TestQueryValues::storedTextComesBack()
{
    Engine &engine = *m_db.engine;
    const QString name = QStringLiteral("Kis' \\Pénztár: -- :v");
    const qint64 till = engine.insert(QStringLiteral("kassza"),
                                      {{QStringLiteral("kassza_nev"), name}, {QStringLiteral("nyito"), -12.5}});
    QCOMPARE(engine.update(QStringLiteral("kassza"), QStringLiteral("kassza"), till, {{QStringLiteral("zaro"), -0.5}}),
             1);
    Query read(engine, QStringLiteral("SELECT kassza_nev, nyito, zaro FROM kassza WHERE kassza = :k"));
    read.setInt(QStringLiteral("k"), till);
    read.open();
    QVERIFY(read.next());
    QCOMPARE(read.value(0).toString(), name);
    QCOMPARE(read.value(1).toDouble(), -12.5);
    QCOMPARE(read.value(2).toDouble(), -0.5);
    read.close();
    engine.remove(QStringLiteral("kassza"), QStringLiteral("kassza"), till);
}

void TestQueryValues::castIsNoParameter()
{
    if (!m_db.engine->isServer())
        QSKIP("casts with :: are the server's");
    Query query(*m_db.engine, QStringLiteral("SELECT :v::integer + 1"));
    query.setText(QStringLiteral("v"), QStringLiteral("41"));
    QCOMPARE(query.firstValue().toInt(), 42);
}

QTEST_GUILESS_MAIN(TestQueryValues)
#include "test_queryvalues.moc"
