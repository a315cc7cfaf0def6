#include "engine.h"
#include "indexrebuild.h"
#include "query.h"
#include "schema.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestIndexRebuild : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rebuildTwiceGivesTheSchemaIndexesWithoutError();
    void missingTableIsNamedAndTheOthersFinish();
    void failingTableKeepsItsOldIndexes();
    void stepsFollowTheTablesInOrder();

private:
    // Every index of the database built by a CREATE statement: "table: name" -> its statement.
    QMap<QString, QString> indexes() const { return IndexesOf(*m_engine); }
    static QMap<QString, QString> IndexesOf(Engine &engine);
    static QStringList SchemaIndexes();
    int rebuild()
    {
        m_errors.clear();
        m_statuses.clear();
        MaintenanceProgress progress;
        progress.error = [this](const QString &text) { m_errors.append(text); };
        progress.status = [this](const QString &text) { m_statuses.append(text); };
        progress.start = [this](int maximum) { m_maximum = maximum; };
        progress.step = [this] { ++m_steps; };
        m_steps = 0;
        return RebuildIndexes(*m_engine, progress);
    }

    QTemporaryDir m_dir;
    int m_count = 0;
    std::unique_ptr<Engine> m_engine;
    QStringList m_errors, m_statuses;
    int m_maximum = 0, m_steps = 0;
};

void TestIndexRebuild::init()
{
    const QString folder = m_dir.filePath(QString::number(++m_count));
    QDir().mkpath(folder);
    m_engine = std::make_unique<Engine>(QStringLiteral("rebuild"));
    m_engine->open(folder);
    for (int i = 1; i <= 50; ++i)
        m_engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("dromvelid"), i},
                                                     {QStringLiteral("kassza"), 1 + i % 2},
                                                     {QStringLiteral("kiadva"), QStringLiteral("I")},
                                                     {QStringLiteral("zaro"), i * 10.0}});
}

void TestIndexRebuild::cleanup()
{
    m_engine.reset();
}

QMap<QString, QString> TestIndexRebuild::IndexesOf(Engine &engine)
{
    QMap<QString, QString> result;
    Query q(engine, QStringLiteral("SELECT tbl_name, name, sql FROM sqlite_master WHERE type='index' AND sql IS NOT "
                                   "NULL;"));
    q.open();
    while (q.next())
        result.insert(q.value(0).toString() + QStringLiteral(": ") + q.value(1).toString(), q.value(2).toString());
    return result;
}

QStringList TestIndexRebuild::SchemaIndexes()
{
    QStringList names;
    for (const TableDef &table : Schema::Tables()) {
        if (!Schema::PrimaryIndexName(table).isEmpty())
            names.append(table.name + QStringLiteral(": ") + Schema::PrimaryIndexName(table));
        for (const IndexDef &index : table.allIndexes())
            names.append(table.name + QStringLiteral(": ") + index.name);
    }
    names.sort();
    return names;
}

void TestIndexRebuild::rebuildTwiceGivesTheSchemaIndexesWithoutError()
{
    // A damaged index set: one missing, one of somebody else's.
    m_engine->exec(QStringLiteral("DROP INDEX idx_zaro;"));
    m_engine->exec(QStringLiteral("CREATE INDEX sajat ON ugyfel (fax);"));
    QCOMPARE(rebuild(), 0);
    QVERIFY(m_errors.isEmpty());
    const QMap<QString, QString> first = indexes();
    QCOMPARE(first.keys(), SchemaIndexes());
    // Exactly the indexes, with the same definitions, that a new database gets.
    const QString fresh = m_dir.filePath(QStringLiteral("fresh%1").arg(m_count));
    QDir().mkpath(fresh);
    Engine newDatabase(QStringLiteral("fresh"));
    newDatabase.open(fresh);
    QCOMPARE(first, IndexesOf(newDatabase));
    QCOMPARE(rebuild(), 0);
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(indexes(), first);
    // The query planner has fresh statistics, and the rows are all still there.
    Query stats(*m_engine, QStringLiteral("SELECT COUNT(*) FROM sqlite_stat1 WHERE tbl='dromvel';"));
    stats.open();
    QVERIFY(stats.next() && stats.value(0).toInt() > 0);
    Query rows(*m_engine, QStringLiteral("SELECT COUNT(*), SUM(zaro) FROM dromvel;"));
    rows.open();
    QVERIFY(rows.next());
    QCOMPARE(rows.value(0).toInt(), 50);
    QCOMPARE(rows.value(1).toDouble(), 12750.0);
}

void TestIndexRebuild::missingTableIsNamedAndTheOthersFinish()
{
    m_engine->exec(QStringLiteral("DROP TABLE szervegyseg;"));
    m_engine->exec(QStringLiteral("DROP INDEX idx_kasszatip_nev;"));
    QCOMPARE(rebuild(), 1);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().startsWith(QStringLiteral("Ismeretlen hiba: szervegyseg\n")),
             qPrintable(m_errors.first()));
    // Tables after the missing one were rebuilt too.
    QCOMPARE(indexes().keys(), SchemaIndexes());
}

// A failure inside a table's rebuild (here an index name taken by a table) rolls that table back to the indexes
// it had; the next table still gets its own.
void TestIndexRebuild::failingTableKeepsItsOldIndexes()
{
    m_engine->exec(QStringLiteral("DROP INDEX idx_zaro;"));
    m_engine->exec(QStringLiteral("CREATE TABLE idx_zaro (x INTEGER);"));
    m_engine->exec(QStringLiteral("DROP INDEX idx_ugyfel_nev;"));
    const QMap<QString, QString> before = indexes();
    QCOMPARE(rebuild(), 1);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().startsWith(QStringLiteral("Ismeretlen hiba: dromvel\n")), qPrintable(m_errors.first()));
    QVERIFY(m_errors.first().contains(QStringLiteral("idx_zaro")));
    QMap<QString, QString> after = indexes();
    QVERIFY(after.contains(QStringLiteral("ugyfel: idx_ugyfel_nev")));
    after.remove(QStringLiteral("ugyfel: idx_ugyfel_nev"));
    QCOMPARE(after, before);
    QCOMPARE(m_engine->transactionDepth(), 0);
}

void TestIndexRebuild::stepsFollowTheTablesInOrder()
{
    rebuild();
    QCOMPARE(m_maximum, int(Schema::Tables().size()) + 1);
    QCOMPARE(m_steps, m_maximum);
    QStringList expected;
    for (const TableDef &table : Schema::Tables())
        expected.append(QStringLiteral("Index készítés: ") + table.name);
    expected.append(QStringLiteral("Statisztika frissítése"));
    QCOMPARE(m_statuses, expected);
    QCOMPARE(m_statuses.at(2), QStringLiteral("Index készítés: dromvel"));
}

QTEST_GUILESS_MAIN(TestIndexRebuild)
#include "test_indexrebuild.moc"
