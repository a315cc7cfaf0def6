#include "engine.h"
#include "picklists.h"
#include "testserver.h"
#include "query.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestPickLists : public QObject
{
    Q_OBJECT

private slots:
    void sameValuesAsGroupingTheLedger();
};

void TestPickLists::sameValuesAsGroupingTheLedger()
{
    QTemporaryDir dir;
    const TestPlace place(dir.path());
    Engine engine(QStringLiteral("picklists"));
    engine.open(place.path());
    QCOMPARE(DistinctLineValues(engine, QStringLiteral("szoveg")), QStringList());

    const char *rows[][3] = {{"Bérlet", nullptr, "Ügyvitel"},
                             {"bérlet", "Bérlet", nullptr},
                             {"Áfa", "Zárás", "Bérlet"},
                             {nullptr, nullptr, "Ügyvitel"}};
    for (const auto &row : rows) {
        QVariantMap values;
        for (int i = 0; i < 3; ++i)
            values.insert(QStringLiteral("szoveg%1").arg(i + 1),
                          row[i] ? QVariant(QString::fromUtf8(row[i])) : QVariant());
        engine.insert(QStringLiteral("dromvel"), values);
    }
    // The grouping query the pick lists stand for, as the reference.
    Query grouped(engine, QStringLiteral("SELECT szoveg1 AS szoveg FROM dromvel GROUP BY szoveg1 UNION "
                                         "SELECT szoveg2 AS szoveg FROM dromvel GROUP BY szoveg2 UNION "
                                         "SELECT szoveg3 AS szoveg FROM dromvel GROUP BY szoveg3 "
                                         "ORDER BY szoveg NULLS FIRST;"));
    grouped.open();
    QStringList expected;
    while (grouped.next())
        expected.append(grouped.value(0).toString());
    QCOMPARE(expected.size(), 6); // empty, Bérlet, bérlet, Áfa, Zárás, Ügyvitel
    QCOMPARE(DistinctLineValues(engine, QStringLiteral("szoveg")), expected);
}

QTEST_GUILESS_MAIN(TestPickLists)
#include "test_picklists.moc"
