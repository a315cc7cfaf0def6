#include "databasefaults.h"
#include "engine.h"
#include "eventlog.h"
#include "loggedstatement.h"
#include "query.h"
#include "testdatabase.h"
#include "testserver.h"

#include <QSysInfo>
#include <QtTest>

// The event log's own writing and reading: the entry goes with the transaction it records, the SQL console's
// statements in each kind of transaction, and the log window's statement.
class TestEventLog : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_db.fresh(QStringLiteral("eventlog")); }
    void cleanup() { m_db.close(); }

    void entryIsWrittenWithItsTimeAndWorkstation();
    void entryOutsideATransactionIsRefused();
    void entryGoesWithTheTransaction_data();
    void entryGoesWithTheTransaction();
    void consoleStatements_data();
    void consoleStatements();
    void failingConsoleStatementLogsNothing();
    void listByPeriodAndSearch_data();
    void listByPeriodAndSearch();

private:
    QStringList logged(const QString &field) const;
    void entryAt(const QString &time, const QString &event, const QString &text);

    TestDatabase m_db;
};

QStringList TestEventLog::logged(const QString &field) const
{
    Query q(*m_db.engine, QStringLiteral("SELECT %1 FROM naplo ORDER BY naplo;").arg(field));
    q.open();
    QStringList values;
    while (q.next())
        values.append(q.value(0).toString());
    return values;
}

void TestEventLog::entryIsWrittenWithItsTimeAndWorkstation()
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QString longText(300, QLatin1Char('x'));
    LogEventAlone(*m_db.engine, {QStringLiteral("Napzárás"), QStringLiteral("bori"), 2, 17, longText});

    Query q(*m_db.engine, QStringLiteral("SELECT idopont, munkaallomas, felhasznalo, esemeny, kassza, sorkulcs, szoveg "
                                         "FROM naplo;"));
    q.open();
    QVERIFY(q.next());
    const QDateTime time = QDateTime::fromString(q.value(0).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY(time >= before && time <= QDateTime::currentDateTime());
    QCOMPARE(q.value(1).toString(), QSysInfo::machineHostName().left(50));
    QCOMPARE(q.value(2).toString(), QStringLiteral("bori"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("Napzárás"));
    QCOMPARE(q.value(4).toInt(), 2);
    QCOMPARE(q.value(5).toLongLong(), 17);
    QCOMPARE(q.value(6).toString(), longText.left(255));
    QVERIFY(!q.next());
}

void TestEventLog::entryOutsideATransactionIsRefused()
{
    QVERIFY_THROWS_EXCEPTION(EngineError, LogEvent(*m_db.engine, {QStringLiteral("Könyvelés"), {}, 0, 0, {}}));
    QVERIFY(logged(QStringLiteral("naplo")).isEmpty());
}

void TestEventLog::entryGoesWithTheTransaction_data()
{
    QTest::addColumn<bool>("commit");
    QTest::newRow("committed") << true;
    QTest::newRow("rolled back") << false;
}

void TestEventLog::entryGoesWithTheTransaction()
{
    QFETCH(bool, commit);
    {
        Transaction transaction(*m_db.engine);
        m_db.engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kiss Ede")}});
        LogEvent(*m_db.engine, {QStringLiteral("Új ügyfél"), QStringLiteral("bori"), 0, 1, {}});
        if (commit)
            transaction.commit();
    }
    QCOMPARE(logged(QStringLiteral("esemeny")).size(), commit ? 1 : 0);
    QCOMPARE(Query(*m_db.engine, QStringLiteral("SELECT COUNT(*) FROM ugyfel;")).firstValue().toInt(), commit ? 1 : 0);
}

void TestEventLog::consoleStatements_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("logged");
    QTest::addColumn<int>("clients");

    const QString insert = QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES ('Kiss Ede');");
    QTest::newRow("a change on its own") << QStringList{insert} << QStringList{insert} << 1;
    QTest::newRow("the script's transaction committed")
        << QStringList{QStringLiteral("BEGIN;"), insert, QStringLiteral("COMMIT;")}
        << QStringList{QStringLiteral("BEGIN;"), insert, QStringLiteral("COMMIT;")} << 1;
    // What was rolled back did not happen, and neither did its entries; the rollback itself is logged.
    QTest::newRow("the script's transaction rolled back")
        << QStringList{QStringLiteral("begin transaction;"), insert, QStringLiteral("ROLLBACK;")}
        << QStringList{QStringLiteral("ROLLBACK;")} << 0;
    // The server's own words for them: the script's transaction is the user's, not one the console wraps around.
    if (TestServer::inUse())
        QTest::newRow("the server's transaction words")
            << QStringList{QStringLiteral("START TRANSACTION;"), insert, QStringLiteral("ABORT;"),
                           QStringLiteral("DISCARD ALL;")}
            << QStringList{QStringLiteral("ABORT;"), QStringLiteral("DISCARD ALL;")} << 0;
    QTest::newRow("a statement that cannot run in a transaction")
        << QStringList{QStringLiteral("VACUUM;")} << QStringList{QStringLiteral("VACUUM;")} << 0;
    // The engine's own setting statement.
    const QString setting = TestServer::inUse()
                                ? QStringLiteral("-- a setting\n/* of the connection */ SET work_mem = '8MB';")
                                : QStringLiteral("-- a version\n/* of the file */ PRAGMA user_version = 3;");
    QTest::newRow("a setting after a comment") << QStringList{setting} << QStringList{setting} << 0;
    QTest::newRow("a query") << QStringList{QStringLiteral("SELECT COUNT(*) FROM ugyfel;")}
                             << QStringList{QStringLiteral("SELECT COUNT(*) FROM ugyfel;")} << 0;
}

void TestEventLog::consoleStatements()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, logged);
    QFETCH(int, clients);
    for (const QString &statement : script)
        RunLoggedStatement(*m_db.engine, statement, QStringLiteral("admin"));

    QCOMPARE(this->logged(QStringLiteral("szoveg")), logged);
    QCOMPARE(this->logged(QStringLiteral("esemeny")).count(QStringLiteral("SQL parancs")), logged.size());
    QCOMPARE(this->logged(QStringLiteral("felhasznalo")).count(QStringLiteral("admin")), logged.size());
    QCOMPARE(Query(*m_db.engine, QStringLiteral("SELECT COUNT(*) FROM ugyfel;")).firstValue().toInt(), clients);
    // Nothing stays open for the program's own writes.
    LogEventAlone(*m_db.engine, {QStringLiteral("Könyvelés"), {}, 0, 0, {}});
}

void TestEventLog::failingConsoleStatementLogsNothing()
{
    QVERIFY_THROWS_EXCEPTION(EngineError, RunLoggedStatement(*m_db.engine, QStringLiteral("UPDATE nincs SET a = 1;"),
                                                             QStringLiteral("admin")));
    // A change the log cannot take is not made either.
    CreateFailingTrigger(*m_db.engine, QStringLiteral("forced_failure"), QStringLiteral("BEFORE INSERT ON naplo"),
                         QStringLiteral("kényszerített hiba"));
    QVERIFY_THROWS_EXCEPTION(
        EngineError, RunLoggedStatement(*m_db.engine, QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES ('X');"),
                                        QStringLiteral("admin")));
    QCOMPARE(Query(*m_db.engine, QStringLiteral("SELECT COUNT(*) FROM ugyfel;")).firstValue().toInt(), 0);
    DropFailingTrigger(*m_db.engine, QStringLiteral("forced_failure"));
    QVERIFY(logged(QStringLiteral("naplo")).isEmpty());
}

void TestEventLog::entryAt(const QString &time, const QString &event, const QString &text)
{
    m_db.engine->insert(QStringLiteral("naplo"), {{QStringLiteral("idopont"), time},
                                                  {QStringLiteral("munkaallomas"), QStringLiteral("PENZTAR-1")},
                                                  {QStringLiteral("felhasznalo"), QStringLiteral("bori")},
                                                  {QStringLiteral("esemeny"), event},
                                                  {QStringLiteral("kassza"), 1},
                                                  {QStringLiteral("szoveg"), text}});
}

void TestEventLog::listByPeriodAndSearch_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("texts");

    const QDate march1(2026, 3, 1), march31(2026, 3, 31);
    QTest::newRow("the whole month") << march1 << march31 << QString()
                                     << QStringList{"első", "50% kedvezmény", "O'Brien úr", "ÁRVÍZTŰRŐ", "utolsó"};
    QTest::newRow("one day, to its last second") << QDate(2026, 3, 31) << march31 << QString() << QStringList{"utolsó"};
    QTest::newRow("the event, any case") << march1 << march31 << QStringLiteral("napzár") << QStringList{"ÁRVÍZTŰRŐ"};
    QTest::newRow("accented letters in any case")
        << march1 << march31 << QStringLiteral("árvíz") << QStringList{"ÁRVÍZTŰRŐ"};
    QTest::newRow("a quote") << march1 << march31 << QStringLiteral("O'Brien") << QStringList{"O'Brien úr"};
    QTest::newRow("a percent sign is no wildcard")
        << march1 << march31 << QStringLiteral("0%") << QStringList{"50% kedvezmény"};
    QTest::newRow("an underscore is no wildcard") << march1 << march31 << QStringLiteral("_") << QStringList{};
    QTest::newRow("the till's name") << march1 << march31 << QStringLiteral("főpénz")
                                     << QStringList{"első", "50% kedvezmény", "O'Brien úr", "ÁRVÍZTŰRŐ", "utolsó"};
    QTest::newRow("the workstation") << march1 << march31 << QStringLiteral("penztar-1")
                                     << QStringList{"első", "50% kedvezmény", "O'Brien úr", "ÁRVÍZTŰRŐ", "utolsó"};
    QTest::newRow("nothing holds it") << march1 << march31 << QStringLiteral("penztar-2") << QStringList{};
}

void TestEventLog::listByPeriodAndSearch()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, search);
    QFETCH(QStringList, texts);
    m_db.engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}});
    entryAt(QStringLiteral("2026-02-28 23:59:59"), QStringLiteral("Könyvelés"), QStringLiteral("előtte"));
    entryAt(QStringLiteral("2026-03-01 00:00:00"), QStringLiteral("Könyvelés"), QStringLiteral("első"));
    entryAt(QStringLiteral("2026-03-10 08:00:00"), QStringLiteral("Könyvelés"), QStringLiteral("50% kedvezmény"));
    entryAt(QStringLiteral("2026-03-10 09:00:00"), QStringLiteral("Könyvelés"), QStringLiteral("O'Brien úr"));
    entryAt(QStringLiteral("2026-03-12 17:00:00"), QStringLiteral("Napzárás"), QStringLiteral("ÁRVÍZTŰRŐ"));
    entryAt(QStringLiteral("2026-03-31 23:59:59"), QStringLiteral("Könyvelés"), QStringLiteral("utolsó"));
    entryAt(QStringLiteral("2026-04-01 00:00:00"), QStringLiteral("Könyvelés"), QStringLiteral("utána"));

    Query q(*m_db.engine, EventListLines(from, to, search).join(QLatin1Char('\n')));
    q.open();
    QStringList found;
    while (q.next()) {
        QCOMPARE(q.value(QStringLiteral("kassza_nev")).toString(), QStringLiteral("Főpénztár"));
        found.append(q.value(QStringLiteral("szoveg")).toString());
    }
    QCOMPARE(found, texts);
}

QTEST_GUILESS_MAIN(TestEventLog)
#include "test_eventlog.moc"
