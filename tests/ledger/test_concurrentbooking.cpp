#include "ledgerfixture.h"
#include "ledgersound.h"

#include <QProcess>
#include <QtTest>

// Two programs booking into one database at the same time.
class TestConcurrentBooking : public QObject
{
    Q_OBJECT

private slots:
    void twoProcessesBookIntoOneDatabase();
};

void TestConcurrentBooking::twoProcessesBookIntoOneDatabase()
{
    LedgerFixture db;
    db.open(QStringLiteral("concurrent"));
    // The tills share the receipt code AB; both hold enough that no payment is refused.
    db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1e9);
    db.till(QStringLiteral("Bolt"), QStringLiteral("AB"), QStringLiteral("BK"), 1e9);
    db.engine->exec(QStringLiteral("UPDATE ugyfel SET elszamollimit = 1e12 WHERE ugyfel = 1;"));

    const int perProcess = 500;
    QProcess workers[2];
    for (int i = 0; i < 2; ++i) {
        workers[i].start(QStringLiteral(BOOKING_WORKER),
                         {db.folder, QString::number(perProcess), QString::number(i + 1)});
        QVERIFY(workers[i].waitForStarted());
    }
    for (QProcess &worker : workers) {
        QVERIFY(worker.waitForFinished(300000));
        QVERIFY2(worker.exitStatus() == QProcess::NormalExit && worker.exitCode() == 0,
                 worker.readAllStandardError().constData());
    }

    const auto number = [&db](const char *sql) { return db.scalar(QString::fromLatin1(sql)).toInt(); };
    QCOMPARE(number("SELECT COUNT(*) FROM dromvel WHERE kiadva='I' AND kibe<>'N';"), 2 * perProcess);
    QCOMPARE(number("SELECT COUNT(*) FROM dromvel WHERE kiadva='N';"), 0);
    QCOMPARE(number("SELECT COUNT(DISTINCT dromvelid) FROM dromvel WHERE kibe<>'N';"), 2 * perProcess);
    // Both workers really wrote, so their bookings interleaved in one sequence.
    QCOMPARE(number("SELECT COUNT(DISTINCT felhasznalo) FROM dromvel WHERE kibe<>'N';"), 2);
    QVERIFY_LEDGER_SOUND(*db.engine);
    QCOMPARE(db.clientTotal(1),
             db.scalar(QStringLiteral("SELECT SUM(osszeg) FROM dromvel WHERE elszamol_kell='I';")).toDouble());
}

QTEST_MAIN(TestConcurrentBooking)
#include "test_concurrentbooking.moc"
