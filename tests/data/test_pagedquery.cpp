#include "engine.h"
#include "lefttransaction.h"
#include "pagedquery.h"
#include "query.h"
#include "testserver.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

class TestPagedQuery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pagesFollowTheSelectsOrder();
    void countsWithoutReadingTheRows();
    void keepsTheSelectsFieldNamesAndDates();
    void badSelectThrows();
    void leavesNoReadOpenBetweenPages();
    void leftTransactionIsRolledBack();

private:
    qint64 scalar(Engine &engine, const QString &sql) { return Query(engine, sql).firstValue().toLongLong(); }

    QTemporaryDir m_dir;
    std::unique_ptr<TestPlace> m_place;
    std::unique_ptr<Engine> m_engine;
};

void TestPagedQuery::init()
{
    m_place = std::make_unique<TestPlace>(m_dir.path());
    m_engine = std::make_unique<Engine>(QStringLiteral("paged"));
    m_engine->open(m_place->path());
    m_engine->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1234) "
                                  "INSERT INTO ugyfel (ugyfel_nev, elszamollimit) SELECT 'Ügyfél ' || i, i FROM n;"));
}

void TestPagedQuery::cleanup()
{
    m_engine.reset();
    m_place.reset();
    QFile::remove(QDir(m_dir.path()).filePath(QString::fromLatin1(Engine::FileName)));
}

void TestPagedQuery::pagesFollowTheSelectsOrder()
{
    PagedQuery query(*m_engine, QStringLiteral("SELECT ugyfel, elszamollimit FROM ugyfel ORDER BY ugyfel DESC"));
    const QList<QVariantList> first = query.page(0, 500);
    QCOMPARE(first.size(), 500);
    QCOMPARE(first.first().first().toInt(), 1234);
    QCOMPARE(first.last().first().toInt(), 735);
    const QList<QVariantList> middle = query.page(500, 500);
    QCOMPARE(middle.first().first().toInt(), 734);
    const QList<QVariantList> last = query.page(1200, 500);
    QCOMPARE(last.size(), 34);
    QCOMPARE(last.last().first().toInt(), 1);
    QCOMPARE(last.last().at(1).toDouble(), 1.0);
    QVERIFY(query.page(1234, 500).isEmpty());
}

void TestPagedQuery::countsWithoutReadingTheRows()
{
    QCOMPARE(PagedQuery(*m_engine, QStringLiteral("SELECT * FROM ugyfel")).count(), 1234);
    QCOMPARE(PagedQuery(*m_engine, QStringLiteral("SELECT * FROM ugyfel WHERE elszamollimit > 1000 -- nagyok")).count(),
             234);
    QCOMPARE(PagedQuery(*m_engine, QStringLiteral("SELECT * FROM ugyfel WHERE 1 = 0")).count(), 0);
}

void TestPagedQuery::keepsTheSelectsFieldNamesAndDates()
{
    m_engine->insert(QStringLiteral("dromvel"),
                     {{QStringLiteral("kassza"), 1}, {QStringLiteral("dat_kiadva"), QDate(2026, 12, 8)}});
    PagedQuery query(*m_engine, QStringLiteral("SELECT d.dat_kiadva, d.kassza, k.kassza, d.kassza AS \"x:1\" "
                                               "FROM dromvel d LEFT JOIN kassza k ON k.kassza = d.kassza"));
    const QList<QVariantList> rows = query.page(0, 10);
    QCOMPARE(query.fieldNames(), (QStringList{"dat_kiadva", "kassza", "kassza", "x:1"}));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().first(), QVariant(QDate(2026, 12, 8)));

    PagedQuery empty(*m_engine, QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE 1 = 0"));
    QVERIFY(empty.page(0, 10).isEmpty());
    QCOMPARE(empty.fieldNames(), QStringList{"ugyfel_nev"});
}

void TestPagedQuery::badSelectThrows()
{
    PagedQuery query(*m_engine, QStringLiteral("SELECT nincs_ilyen FROM ugyfel"));
    QVERIFY_THROWS_EXCEPTION(EngineError, query.page(0, 10));
    QVERIFY_THROWS_EXCEPTION(EngineError, query.count());
}

void TestPagedQuery::leavesNoReadOpenBetweenPages()
{
    PagedQuery query(*m_engine, QStringLiteral("SELECT * FROM ugyfel ORDER BY ugyfel"));
    QCOMPARE(query.page(0, 10).size(), 10);
    // Another workstation commits; the program's connection writes after it, and a full checkpoint finds no
    // reader holding an older snapshot (on the server: the connection is in no transaction).
    {
        Engine other(QStringLiteral("paged_other"));
        other.open(m_place->path());
        other.exec(QStringLiteral("UPDATE ugyfel SET elszamollimit = 0 WHERE ugyfel = 1;"));
    }
    m_engine->exec(QStringLiteral("UPDATE ugyfel SET elszamollimit = 5 WHERE ugyfel = 2;"));
    if (m_engine->isServer())
        QVERIFY(!m_engine->inTransaction());
    else
        QCOMPARE(scalar(*m_engine, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);")), 0);
    QCOMPARE(query.page(0, 2).at(1).at(QStringList(query.fieldNames()).indexOf("elszamollimit")).toDouble(), 5.0);
}

void TestPagedQuery::leftTransactionIsRolledBack()
{
    QVERIFY(!RollBackLeftTransaction(*m_engine));
    m_engine->exec(QStringLiteral("BEGIN;"));
    m_engine->exec(QStringLiteral("DELETE FROM ugyfel;"));
    QVERIFY(RollBackLeftTransaction(*m_engine));
    QCOMPARE(scalar(*m_engine, QStringLiteral("SELECT COUNT(*) FROM ugyfel;")), 1234);
    QVERIFY(!RollBackLeftTransaction(*m_engine));

    // The engine's own transaction is its owner's to end.
    Transaction own(*m_engine);
    m_engine->exec(QStringLiteral("DELETE FROM ugyfel WHERE ugyfel = 1;"));
    QVERIFY(!RollBackLeftTransaction(*m_engine));
    own.commit();
    QCOMPARE(scalar(*m_engine, QStringLiteral("SELECT COUNT(*) FROM ugyfel;")), 1233);
}

QTEST_GUILESS_MAIN(TestPagedQuery)
#include "test_pagedquery.moc"
