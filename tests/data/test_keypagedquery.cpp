#include "engine.h"
#include "keypagedquery.h"
#include "testserver.h"

#include <QDate>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// A ledger view read a page at a time must show exactly what one plain statement in the same order shows, wherever
// it is read from, and must leave no statement open between reads.
class TestKeyPagedQuery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void readsInTheOrderOfOnePlainStatement_data();
    void readsInTheOrderOfOnePlainStatement();
    void everyStatementReadsAlongAnIndex_data();
    void everyStatementReadsAlongAnIndex();
    void viewsAreReadFromTheirOwnIndex_data();
    void viewsAreReadFromTheirOwnIndex();
    void noSnapshotIsHeldBetweenReads_data();
    void noSnapshotIsHeldBetweenReads();
    void rowsRemovedMeanwhileShowEmpty_data();
    void rowsRemovedMeanwhileShowEmpty();

private:
    QStringList lines(const QString &order, bool unclosed) const;
    QList<qint64> expected(const QString &order, bool unclosed) const;
    static qint64 id(const QVariantList *row) { return row ? row->value(0).toLongLong() : -1; }
    // The steps of the statement's plan with those key values, as the engine would read it.
    QStringList plan(const QString &sql, const QVariantList &keys);

    QTemporaryDir m_dir;
    std::unique_ptr<TestPlace> m_place;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<Engine> m_planner;
};

namespace {

const int Rows = 700;

// The plain order of each view: NULLs first (the server sorts them last unasked); equal client or type names by
// the lookup's key; then the row's key.
QString PlainOrder(const QString &order)
{
    if (order == QLatin1String("1"))
        return QStringLiteral("dromvel.dromvel");
    for (const char *lookup : {"ugyfel", "kasszatip"}) {
        if (order.startsWith(QLatin1String(lookup)))
            return QStringLiteral("%1.%2 IS NOT NULL, %1.%2, CASE WHEN %1.%2 IS NULL THEN NULL ELSE dromvel.%1 END, "
                                  "dromvel.dromvel")
                .arg(QString::fromLatin1(lookup), order);
    }
    return QStringLiteral("dromvel.%1 IS NOT NULL, dromvel.%1, dromvel.dromvel").arg(order);
}

} // namespace

void TestKeyPagedQuery::initTestCase()
{
    m_place = std::make_unique<TestPlace>(m_dir.path());
    m_engine = std::make_unique<Engine>(QStringLiteral("keypagedquery"));
    m_engine->open(m_place->path());
    Transaction transaction(*m_engine);
    // Two clients share a name, one has none.
    for (const QVariant &name :
         {QVariant(QStringLiteral("Béla")), QVariant(QStringLiteral("Anna")), QVariant(QStringLiteral("Béla")),
          QVariant(), QVariant(QStringLiteral("Cecil")), QVariant(QStringLiteral("Anna"))})
        m_engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), name}});
    for (const QVariant &name : {QVariant(QStringLiteral("Bér")), QVariant(QStringLiteral("Anyag")), QVariant()})
        m_engine->insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), name}});
    const QVariantList clients{1, 2, 3, 4, 5, 6, QVariant(), 99}; // 99: a client that is gone
    const QVariantList types{1, 2, 3, QVariant(), 7};
    for (int i = 1; i <= Rows + Rows / 5; ++i) {
        const bool other = i > Rows;
        m_engine->insert(
            QStringLiteral("dromvel"),
            {{QStringLiteral("kassza"), other ? 2 : 1},
             {QStringLiteral("kibe"), i == 350 ? QStringLiteral("N")
                                      : i % 3  ? QStringLiteral("B")
                                               : QStringLiteral("K")},
             {QStringLiteral("ugyfel"), clients.at(i % clients.size())},
             {QStringLiteral("kasszatip"), types.at(i % types.size())},
             {QStringLiteral("ssz"), i % 9 ? QVariant((i * 7) % 50) : QVariant()},
             {QStringLiteral("osszeg"), (i % 6) * 100.0},
             {QStringLiteral("elszamol_kell_dat"), i % 10 ? QVariant() : QVariant(QDate(2026, 1, 1 + i % 28))},
             {QStringLiteral("kiadva"), i % 11 ? QStringLiteral("I") : QStringLiteral("N")},
             {QStringLiteral("lezarva"), i % 4 ? QStringLiteral("N") : QStringLiteral("I")}});
    }
    transaction.commit();
    // The server's plans are asked for on a connection of their own, told to avoid every whole-table read and
    // every sort it can avoid: a table this small it would rather read whole, as it would not a large one.
    m_planner = std::make_unique<Engine>(QStringLiteral("keypagedquery_plans"));
    m_planner->open(m_place->path());
    if (m_planner->isServer())
        for (const char *setting : {"enable_seqscan", "enable_bitmapscan", "enable_sort"})
            m_planner->exec(QStringLiteral("SET %1 = off;").arg(QLatin1String(setting)));
}

void TestKeyPagedQuery::cleanupTestCase()
{
    m_planner.reset();
    m_engine.reset();
    m_place.reset();
}

QStringList TestKeyPagedQuery::plan(const QString &sql, const QVariantList &keys)
{
    QStringList steps;
    QSqlQuery query(m_planner->database());
    if (!m_planner->isServer()) {
        if (!query.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql))
            qFatal("%s", qPrintable(query.lastError().text()));
        for (int i = 0; i < keys.size(); ++i)
            query.bindValue(QStringLiteral(":k%1").arg(i), keys.at(i));
        if (keys.size() > 1)
            query.bindValue(QStringLiteral(":b0"), keys.first());
        if (!query.exec())
            qFatal("%s", qPrintable(query.lastError().text()));
        while (query.next())
            steps.append(query.value(3).toString());
        return steps;
    }
    // The server explains no statement with parameters: the values are written in.
    QString text = sql;
    const auto literal = [this](const QVariant &value) {
        QSqlField field(QString(), value.metaType());
        field.setValue(value);
        return m_planner->database().driver()->formatValue(field);
    };
    for (qsizetype i = keys.size() - 1; i >= 0; --i)
        text.replace(QStringLiteral(":k%1").arg(i), literal(keys.at(i)));
    if (!keys.isEmpty())
        text.replace(QStringLiteral(":b0"), literal(keys.first()));
    if (!query.exec(QStringLiteral("EXPLAIN (COSTS OFF) ") + text))
        qFatal("%s", qPrintable(query.lastError().text()));
    // Its steps: the first line and the lines led by an arrow; the others tell a step's details.
    static const QRegularExpression step(QStringLiteral("^\\s*->\\s*"));
    while (query.next()) {
        QString line = query.value(0).toString();
        if (steps.isEmpty() || line.contains(step))
            steps.append(line.remove(step).trimmed());
    }
    return steps;
}

QStringList TestKeyPagedQuery::lines(const QString &order, bool unclosed) const
{
    return {QStringLiteral("SELECT"),
            QStringLiteral(" dromvel.dromvel, dromvel.ssz, dromvel.osszeg, dromvel.elszamol_kell_dat,"),
            QStringLiteral(" dromvel.ugyfel, dromvel.kasszatip, ugyfel.ugyfel_nev, kasszatip.kasszatip_nev"),
            QStringLiteral("FROM dromvel"),
            QStringLiteral(" LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel=ugyfel.ugyfel)"),
            QStringLiteral(" LEFT OUTER JOIN kasszatip ON (kasszatip.kasszatip=dromvel.kasszatip)"),
            QStringLiteral("WHERE (dromvel.kassza=1) and (dromvel.kibe<>'N')") +
                (unclosed ? QStringLiteral(" and ((dromvel.lezarva='N') or (dromvel.kiadva='N'))") : QString()),
            QStringLiteral("ORDER BY %1;").arg(order)};
}

QList<qint64> TestKeyPagedQuery::expected(const QString &order, bool unclosed) const
{
    QStringList plain = lines(order, unclosed);
    plain.last() = QStringLiteral("ORDER BY ") + PlainOrder(order) + QLatin1Char(';');
    QSqlQuery query(m_engine->database());
    if (!query.exec(plain.join(QLatin1Char('\n'))))
        qFatal("%s", qPrintable(query.lastError().text()));
    QList<qint64> ids;
    while (query.next())
        ids.append(query.value(0).toLongLong());
    return ids;
}

void TestKeyPagedQuery::readsInTheOrderOfOnePlainStatement_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("unclosed");
    QTest::addColumn<int>("keyListRows");
    const std::pair<const char *, const char *> orders[] = {{"key", "1"},
                                                            {"serial, some empty", "ssz"},
                                                            {"amount, many equal", "osszeg"},
                                                            {"deadline, mostly empty", "elszamol_kell_dat"},
                                                            {"client, equal, missing and gone names", "ugyfel_nev"},
                                                            {"type", "kasszatip_nev"}};
    // Each view as a large one, read by pages after the last key, and as a small one, read by its key list.
    for (const auto &[mode, keyListRows] : {std::pair{"by pages", 0}, {"by keys", KeyPagedQuery::KeyListRows}}) {
        for (const auto &[name, order] : orders)
            QTest::addRow("%s, %s", name, mode) << order << false << keyListRows;
        QTest::addRow("key, unclosed only, %s", mode) << "1" << true << keyListRows;
        QTest::addRow("client, unclosed only, %s", mode) << "ugyfel_nev" << true << keyListRows;
    }
}

void TestKeyPagedQuery::readsInTheOrderOfOnePlainStatement()
{
    QFETCH(QString, order);
    QFETCH(bool, unclosed);
    QFETCH(int, keyListRows);
    const QList<qint64> ids = expected(order, unclosed);
    QVERIFY(ids.size() > 3 * KeyPagedQuery::PageRows);

    KeyPagedQuery forward(*m_engine, keyListRows);
    forward.open(lines(order, unclosed));
    QCOMPARE(forward.rowCount(), int(ids.size()));
    for (int r = 0; r < ids.size(); ++r)
        QCOMPARE(id(forward.row(r)), ids.at(r));
    QCOMPARE(forward.row(int(ids.size())), nullptr);

    KeyPagedQuery backward(*m_engine, keyListRows);
    backward.open(lines(order, unclosed));
    for (int r = int(ids.size()) - 1; r >= 0; --r)
        QCOMPARE(id(backward.row(r)), ids.at(r));

    // Far jumps in both directions, each followed by a step on either side.
    KeyPagedQuery jumps(*m_engine, keyListRows);
    jumps.open(lines(order, unclosed));
    for (int i = 0; i < 40; ++i) {
        const int r = (i * 379) % int(ids.size());
        for (const int near : {r, r + 1, r - 1})
            if (near >= 0 && near < ids.size())
                QCOMPARE(id(jumps.row(near)), ids.at(near));
    }

    KeyPagedQuery located(*m_engine, keyListRows);
    located.open(lines(order, unclosed));
    for (int i = 0; i < ids.size(); i += 37) {
        QCOMPARE(located.locate(ids.at(i)), i);
        QCOMPARE(id(located.row(i)), ids.at(i));
        if (i > 0)
            QCOMPARE(id(located.row(i - 1)), ids.at(i - 1));
    }
    QCOMPARE(located.locate(ids.last()), int(ids.size()) - 1);
    QCOMPARE(located.locate(Rows + 3), -1); // another till's row
    QCOMPARE(located.locate(350), -1);      // an opening row
}

void TestKeyPagedQuery::everyStatementReadsAlongAnIndex_data()
{
    readsInTheOrderOfOnePlainStatement_data();
}

void TestKeyPagedQuery::everyStatementReadsAlongAnIndex()
{
    QFETCH(QString, order);
    QFETCH(bool, unclosed);
    QFETCH(int, keyListRows);
    QList<std::pair<QString, QVariantList>> statements;
    KeyPagedQuery query(*m_engine, keyListRows);
    query.setStatementLog([&statements](const QString &sql, const QVariantList &keys) {
        statements.append({sql, keys});
    });
    query.open(lines(order, unclosed));
    for (int r = 0; r < 300; ++r)
        query.row(r);
    query.row(query.rowCount() - 1);
    query.row(query.rowCount() - 200);
    query.row(query.rowCount() / 2);
    query.locate(query.row(query.rowCount() / 3)->value(0).toLongLong());
    query.locate(query.row(10)->value(0).toLongLong());

    for (const auto &[sql, keys] : statements) {
        const QStringList steps = plan(sql, keys);
        const QString shown = sql + QStringLiteral("\n -> ") + steps.join(QStringLiteral(" / "));
        // Only the small result of a count may be read whole, and only a key list sorted. The server may sort the
        // rows of one looked-up name that its walk along the names brings (an incremental sort).
        for (const QString &step : steps) {
            const bool whole = m_planner->isServer()
                                   ? step.startsWith(QStringLiteral("Seq Scan"))
                                   : step.startsWith(QStringLiteral("SCAN")) && step != QLatin1String("SCAN counted");
            const bool sorted = m_planner->isServer() ? step.startsWith(QStringLiteral("Sort"))
                                                      : step.contains(QStringLiteral("TEMP B-TREE"));
            QVERIFY2(!whole && (keyListRows > 0 || !sorted), qPrintable(shown));
        }
    }
}

// A view is found along the narrowest index that serves it. Once days are closed the unclosed rows are few among
// many, and an index of every row would read them all.
void TestKeyPagedQuery::viewsAreReadFromTheirOwnIndex_data()
{
    QTest::addColumn<bool>("unclosed");
    QTest::addColumn<int>("keyListRows");
    QTest::addColumn<int>("viewReads"); // the first statements, which pick the view's rows
    QTest::addColumn<QString>("index");
    QTest::newRow("unclosed by pages: count, first page") << true << 0 << 2 << "ix_dromvel_unclosed";
    QTest::newRow("unclosed by keys: count, key list")
        << true << int(KeyPagedQuery::KeyListRows) << 2 << "ix_dromvel_unclosed";
    QTest::newRow("whole till: count") << false << 0 << 1 << "ix_dromvel_kassza";
}

void TestKeyPagedQuery::viewsAreReadFromTheirOwnIndex()
{
    SKIP_ON_SERVER("the server picks among the indexes that serve a view by its statistics; measured in bench/");
    QFETCH(bool, unclosed);
    QFETCH(int, keyListRows);
    QFETCH(int, viewReads);
    QFETCH(QString, index);
    QStringList statements;
    KeyPagedQuery query(*m_engine, keyListRows);
    query.setStatementLog([&statements](const QString &sql, const QVariantList &) { statements.append(sql); });
    query.open(lines(QStringLiteral("1"), unclosed));
    QVERIFY(statements.size() >= viewReads);
    for (const QString &sql : statements.mid(0, viewReads)) {
        const QString steps = plan(sql, {}).join(QLatin1Char('/'));
        QVERIFY2(steps.contains(index + QLatin1Char(' ')), qPrintable(steps));
    }
}

void TestKeyPagedQuery::noSnapshotIsHeldBetweenReads_data()
{
    QTest::addColumn<int>("keyListRows");
    QTest::newRow("by pages") << 0;
    QTest::newRow("by keys") << int(KeyPagedQuery::KeyListRows);
}

void TestKeyPagedQuery::noSnapshotIsHeldBetweenReads()
{
    QFETCH(int, keyListRows);
    KeyPagedQuery query(*m_engine, keyListRows);
    Engine other(QStringLiteral("keypagedquery_other"));
    other.open(m_place->path());
    int step = 0;
    // After every kind of read another workstation commits, and this one can still take the write lock.
    const auto othersCommitThenWeWrite = [&] {
        ++step;
        other.exec(QStringLiteral("UPDATE kassza SET most=%1;").arg(step));
        Transaction transaction(*m_engine);
        m_engine->exec(QStringLiteral("UPDATE kassza SET zaro=%1;").arg(step));
        transaction.commit();
    };
    query.open(lines(QStringLiteral("ugyfel_nev"), false));
    othersCommitThenWeWrite();
    QVERIFY(query.row(query.rowCount() / 2)); // a jump
    othersCommitThenWeWrite();
    QVERIFY(query.row(query.rowCount() / 2 + KeyPagedQuery::PageRows)); // forward
    othersCommitThenWeWrite();
    QVERIFY(query.row(query.rowCount() / 2 - KeyPagedQuery::PageRows)); // backward
    othersCommitThenWeWrite();
    QCOMPARE(query.locate(query.row(5)->value(0).toLongLong()), 5);
    othersCommitThenWeWrite();
    QCOMPARE(step, 5);
}

void TestKeyPagedQuery::rowsRemovedMeanwhileShowEmpty_data()
{
    noSnapshotIsHeldBetweenReads_data();
}

// Rows another workstation removes after the count show empty until the view is opened again; every other row
// shows once, in its order.
void TestKeyPagedQuery::rowsRemovedMeanwhileShowEmpty()
{
    QFETCH(int, keyListRows);
    const QList<qint64> ids = expected(QStringLiteral("1"), false);
    KeyPagedQuery query(*m_engine, keyListRows);
    query.open(lines(QStringLiteral("1"), false));
    QList<qint64> gone;
    {
        // Another workstation removes ten rows beyond the first page; their places close up.
        Engine other(QStringLiteral("keypagedquery_remover"));
        other.open(m_place->path());
        Transaction transaction(other);
        for (int i = 300; i < 310; ++i) {
            gone.append(ids.at(i));
            other.remove(QStringLiteral("dromvel"), QStringLiteral("dromvel"), ids.at(i));
        }
        transaction.commit();
    }
    QList<qint64> shown;
    int empty = 0;
    for (int r = 0; r < query.rowCount(); ++r) {
        const QVariantList *row = query.row(r);
        if (row)
            shown.append(id(row));
        else
            ++empty;
    }
    QList<qint64> left = ids;
    for (const qint64 g : gone)
        left.removeOne(g);
    QCOMPARE(shown, left);
    QCOMPARE(empty, 10);
}

QTEST_GUILESS_MAIN(TestKeyPagedQuery)
#include "test_keypagedquery.moc"
