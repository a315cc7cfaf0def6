#include "util.h"

#include <QtTest>

class TestUtilSql : public QObject
{
    Q_OBJECT

private slots:
    void editing_data();
    void editing();
    void dateLiteral();
    void dates_data();
    void dates();
};

void TestUtilSql::editing_data()
{
    QTest::addColumn<QString>("routine");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");

    const QStringList query{QStringLiteral("select * from dromvel"), QStringLiteral("where penztar = 'A'"),
                            QStringLiteral("order by datum;")};
    const QStringList indented{QStringLiteral("select *"), QStringLiteral("  where x = 1"),
                               QStringLiteral("  ORDER BY 1")};
    const QStringList twice{QStringLiteral("select *"), QStringLiteral("ORDER BY a"), QStringLiteral("order by b")};

    QTest::newRow("order by") << "order" << query << "sorsz desc"
                              << "select * from dromvel\nwhere penztar = 'A'\nORDER BY sorsz desc;";
    QTest::newRow("only the first order line") << "order" << twice << "c"
                                               << "select *\nORDER BY c;\norder by b";
    QTest::newRow("order with leading blanks") << "order" << indented << "c"
                                               << "select *\n  where x = 1\n  ORDER BY 1";
    QTest::newRow("no order line") << "order" << query.mid(0, 2) << "c"
                                   << "select * from dromvel\nwhere penztar = 'A'";
    QTest::newRow("where") << "where" << query << "penztar = 'B'"
                           << "select * from dromvel\nWHERE penztar = 'B'\norder by datum;";
    QTest::newRow("where with leading blanks") << "where" << indented << "y"
                                               << "select *\n  where x = 1\n  ORDER BY 1";
    QTest::newRow("append")
        << "append" << query << " and ((dromvel.lezarva='N') or (dromvel.kiadva='N'))"
        << "select * from dromvel\nwhere penztar = 'A' and ((dromvel.lezarva='N') or (dromvel.kiadva='N'))\n"
           "order by datum;";
    QTest::newRow("append without where") << "append" << twice << " and 1"
                                          << "select *\nORDER BY a\norder by b";
}

void TestUtilSql::editing()
{
    QFETCH(QString, routine);
    QFETCH(QStringList, lines);
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    const QString result = routine == QLatin1String("order")   ? SetOrderBy(lines, argument)
                           : routine == QLatin1String("where") ? SetWhere(lines, argument)
                                                               : AppendToWhere(lines, argument);
    QCOMPARE(result, expected);
}

void TestUtilSql::dateLiteral()
{
    const QDate date(2026, 12, 8);
    QCOMPARE(SqlDateLiteral(true, date), QStringLiteral("'12/08/2026'"));
    QCOMPARE(SqlDateLiteral(false, date), QStringLiteral("'2026-12-08'"));
    QCOMPARE(SqlDateLiteral(false, QDate(987, 1, 2)), QStringLiteral("'0987-01-02'"));
    QCOMPARE(SqlDateLiteral(false, QDate()), QStringLiteral("''"));
}

void TestUtilSql::dates_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("week");
    QTest::newRow("sunday ends week 53 of 2020") << QDate(2021, 1, 3) << 53;
    QTest::newRow("monday starts week 1") << QDate(2021, 1, 4) << 1;
    QTest::newRow("2026 has 53 weeks") << QDate(2026, 12, 31) << 53;
    QTest::newRow("2027 starts in week 53") << QDate(2027, 1, 3) << 53;
    QTest::newRow("2027 week 1") << QDate(2027, 1, 4) << 1;
    QTest::newRow("december in next year's week 1") << QDate(2024, 12, 30) << 1;
    QTest::newRow("invalid") << QDate() << 0;
}

void TestUtilSql::dates()
{
    QFETCH(QDate, date);
    QFETCH(int, week);
    QCOMPARE(WeekOfYear(date), week);
}

QTEST_GUILESS_MAIN(TestUtilSql)
#include "test_utilsql.moc"
