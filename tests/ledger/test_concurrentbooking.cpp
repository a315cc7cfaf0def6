#include "ledgerfixture.h"
#include "ledgersound.h"

#include <QProcess>
#include <QtTest>

// Two programs writing into one database at the same time.
class TestConcurrentBooking : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_db.close(); }

    void twoProcessesBookIntoOneDatabase();
    void oneSettlesWhileTheOtherBooks();
    void twoProcessesCloseOneTill();

private:
    // Runs one worker per mode at once, each for the given rounds; their standard outputs.
    QList<QByteArray> run(const QStringList &modes, int rounds);
    int number(const char *sql) const { return m_db.scalar(QString::fromUtf8(sql)).toInt(); }
    // The counts the run is judged by, on the test's output: repeated booking and voucher numbers, days closed
    // more than once, and what the ledger check finds (broken balance chains among them).
    void printCounts(const char *what);

    LedgerFixture m_db;
};

void TestConcurrentBooking::init()
{
    m_db.open(QStringLiteral("concurrent"));
    // The tills share the receipt code AB; both hold enough that no payment is refused.
    m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1e9);
    m_db.till(QStringLiteral("Bolt"), QStringLiteral("AB"), QStringLiteral("BK"), 1e9);
    m_db.engine->exec(QStringLiteral("UPDATE ugyfel SET elszamollimit = 1e12 WHERE ugyfel = 1;"));
}

QList<QByteArray> TestConcurrentBooking::run(const QStringList &modes, int rounds)
{
    QList<QByteArray> outputs;
    std::vector<std::unique_ptr<QProcess>> workers;
    for (int i = 0; i < modes.size(); ++i) {
        workers.push_back(std::make_unique<QProcess>());
        workers.back()->start(QStringLiteral(BOOKING_WORKER),
                              {m_db.folder, QString::number(rounds), QString::number(i + 1), modes.at(i)});
        if (!workers.back()->waitForStarted())
            return {};
    }
    for (const auto &worker : workers) {
        worker->waitForFinished(300000);
        const QByteArray errors = worker->readAllStandardError();
        if (worker->exitStatus() != QProcess::NormalExit || worker->exitCode() != 0) {
            QTest::qFail(errors.constData(), __FILE__, __LINE__);
            return {};
        }
        outputs.append(worker->readAllStandardOutput());
    }
    return outputs;
}

void TestConcurrentBooking::printCounts(const char *what)
{
    const int booked = number("SELECT COUNT(*) FROM dromvel WHERE kiadva='I' AND kibe<>'N';");
    const int repeatedIds =
        booked - number("SELECT COUNT(DISTINCT dromvelid) FROM dromvel WHERE kiadva='I' AND kibe<>'N';");
    const int repeatedNumbers = number("SELECT COUNT(*) FROM (SELECT betujel, ssz FROM dromvel WHERE kiadva='I' AND kibe<>'N' "
                                       "GROUP BY betujel, ssz HAVING COUNT(*) > 1) AS repeated;");
    const int closings = number("SELECT COUNT(*) FROM zarbizonylat;");
    const int daysClosedTwice = number("SELECT COUNT(*) FROM (SELECT kassza, dat_ig FROM zarbizonylat "
                                       "GROUP BY kassza, dat_ig HAVING COUNT(*) > 1) AS twice;");
    const qsizetype findings = LedgerCheck::run(*m_db.engine).size();
    qInfo("%s on %s: %d booked, %d repeated booking numbers, %d repeated voucher numbers, %d closings, %d days "
          "closed twice, %lld ledger check findings",
          what, m_db.engine->isServer() ? "the server" : "SQLite", booked, repeatedIds, repeatedNumbers, closings,
          daysClosedTwice, qint64(findings));
}

void TestConcurrentBooking::twoProcessesBookIntoOneDatabase()
{
    const int perProcess = 500;
    QCOMPARE(run({QStringLiteral("book"), QStringLiteral("book")}, perProcess).size(), 2);
    printCounts("two processes booking");

    QCOMPARE(number("SELECT COUNT(*) FROM dromvel WHERE kiadva='I' AND kibe<>'N';"), 2 * perProcess);
    QCOMPARE(number("SELECT COUNT(*) FROM dromvel WHERE kiadva='N';"), 0);
    QCOMPARE(number("SELECT COUNT(DISTINCT dromvelid) FROM dromvel WHERE kibe<>'N';"), 2 * perProcess);
    // Both workers really wrote, so their bookings interleaved in one sequence.
    QCOMPARE(number("SELECT COUNT(DISTINCT felhasznalo) FROM dromvel WHERE kibe<>'N';"), 2);
    QVERIFY_LEDGER_SOUND(*m_db.engine);
    QCOMPARE(m_db.clientTotal(1),
             m_db.scalar(QStringLiteral("SELECT SUM(osszeg) FROM dromvel WHERE elszamol_kell='I';")).toDouble());
}

void TestConcurrentBooking::oneSettlesWhileTheOtherBooks()
{
    const int rounds = 200;
    QCOMPARE(run({QStringLiteral("settle"), QStringLiteral("book")}, rounds).size(), 2);

    // Every advance of the settling worker is settled, each with its vouchers booked among the other's bookings.
    QCOMPARE(number("SELECT COUNT(*) FROM dromvel WHERE felhasznalo='worker1' AND elszamol_kell='I' "
                    "AND elszamolva='I';"),
             rounds);
    QVERIFY(number("SELECT COUNT(*) FROM dromvel WHERE felhasznalo='worker1' AND szoveg1 LIKE 'Elszámolás%';") >=
            rounds);
    QCOMPARE(number("SELECT COUNT(*) FROM dromvel WHERE kiadva='N';"), 0);
    QCOMPARE(number("SELECT COUNT(*) FROM dromvel WHERE kibe<>'N';"),
             number("SELECT COUNT(DISTINCT dromvelid) FROM dromvel WHERE kibe<>'N';"));
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestConcurrentBooking::twoProcessesCloseOneTill()
{
    const int rounds = 150;
    const QList<QByteArray> outputs = run({QStringLiteral("close"), QStringLiteral("close")}, rounds);
    QCOMPARE(outputs.size(), 2);
    printCounts("two processes booking and closing");

    // Each day is closed once, by whichever workstation came first; the other is told it is closed.
    QHash<QByteArray, int> closings;
    int closed = 0;
    int refused = 0;
    for (const QByteArray &output : outputs)
        for (const QByteArray &line : output.split('\n')) {
            if (line.endsWith('C')) {
                ++closings[line.split(' ').first()];
                ++closed;
            }
            refused += line.endsWith('A');
        }
    for (auto it = closings.cbegin(); it != closings.cend(); ++it)
        QVERIFY2(it.value() == 1, qPrintable(QStringLiteral("%1 closed %2 times").arg(it.key()).arg(it.value())));
    QCOMPARE(number("SELECT COUNT(*) FROM zarbizonylat;"), closed);
    QCOMPARE(number("SELECT COUNT(DISTINCT zarbizonylat) FROM zarbizonylat;"), closed);
    QVERIFY(closed > 0);
    // The two went for the same day often enough that one of them was refused.
    QVERIFY(refused > 0);
    // No row was booked onto a day after it was closed, so none is left open behind a closing.
    QCOMPARE(number("SELECT COUNT(*) FROM dromvel WHERE kassza=1 AND kiadva='I' AND lezarva='N' AND dat_kiadva <= "
                    "(SELECT lezarva FROM kassza WHERE kassza=1);"),
             0);
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

QTEST_MAIN(TestConcurrentBooking)
#include "test_concurrentbooking.moc"
