#include "ledgerfixture.h"
#include "ledgersound.h"
#include "tillstore.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

// A workstation killed (SIGKILL) at any moment while it books, settles and closes: afterwards the database file is
// whole, the ledger passes the maintenance program's check, and everything the workstation had committed is there.
// The kill moments come from a seed the test prints; DROMVEL_CRASH_SEED=<seed> runs the same moments again.
class TestKilledWorkstation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void killedAtRandomMoments();
    void killedInTheMiddleOfAStep_data();
    void killedInTheMiddleOfAStep();

private:
    // Starts the worker in its loop mode on the test's database, lets wait read its lines until the moment of the
    // kill, then kills it and checks the database; false when the test failed.
    bool killWhen(const std::function<void(QProcess &worker)> &wait);
    void start(QProcess &worker);
    // Reads the worker's lines into m_told until one starts with until (any line counts when until is empty: then
    // it reads to the deadline); true when such a line came.
    bool read(QProcess &worker, const QDeadlineTimer &deadline, const QByteArray &until = {});
    // Kills the worker with SIGKILL (failing when it had ended by itself) and takes the lines it wrote last; then
    // opens the database as the next program would and checks it. The next start closes it again.
    void killAndCheck(QProcess &worker);
    int number(const QString &sql) const { return m_db.scalar(sql).toInt(); }
    // How many of the keys the statement finds, with %1 standing for the list of keys.
    int found(const char *sql, const QSet<qint64> &keys) const;
    // Whether the worker killed last wrote a line starting with prefix.
    bool told(const QByteArray &prefix) const;

    LedgerFixture m_db;
    quint32 m_seed = 0;
    QRandomGenerator m_random;
    int m_kill = 0;
    QByteArrayList m_told; // the lines of the worker killed last
    // What the killed workers said they had committed, over the whole case.
    QSet<qint64> m_booked, m_settled, m_closed;
};

namespace {

// How long a worker may take to open the database on a slow, loaded machine; only a hang waits this long.
constexpr int StartLimit = 60000;
// The day before the first day the worker closes.
const QDate BeforeFirstClosing(2029, 12, 31);

QString KeyList(const QSet<qint64> &keys)
{
    QStringList texts;
    for (qint64 key : keys)
        texts.append(QString::number(key));
    return texts.join(QLatin1Char(','));
}

} // namespace

void TestKilledWorkstation::initTestCase()
{
    bool given = false;
    m_seed = qEnvironmentVariable("DROMVEL_CRASH_SEED").toUInt(&given);
    if (!given)
        m_seed = QRandomGenerator::global()->generate();
    qInfo("Kill moments from seed %u (DROMVEL_CRASH_SEED=%u runs them again).", m_seed, m_seed);
}

void TestKilledWorkstation::init()
{
    m_random.seed(m_seed);
    m_kill = 0;
    m_told.clear();
    m_booked.clear();
    m_settled.clear();
    m_closed.clear();
    m_db.open(QStringLiteral("killed"));
    // Both tills hold enough that no payment is refused, and the client's limit warns of nothing.
    m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1e9);
    m_db.till(QStringLiteral("Bolt"), QStringLiteral("BB"), QStringLiteral("BK"), 1e9);
    m_db.engine->exec(QStringLiteral("UPDATE ugyfel SET elszamollimit = 1e12 WHERE ugyfel = 1;"));
    // The worker is the only program on the file, so the check after a kill is the first to open it again.
    m_db.close();
}

void TestKilledWorkstation::cleanup()
{
    if (QTest::currentTestFailed())
        qWarning("Seed %u, kill %d; the worker's last lines:\n%s", m_seed, m_kill,
                 m_told.mid(std::max<qsizetype>(0, m_told.size() - 10)).join('\n').constData());
    m_db.close();
}

void TestKilledWorkstation::start(QProcess &worker)
{
    m_db.close();
    m_told.clear();
    ++m_kill;
    worker.start(QStringLiteral(BOOKING_WORKER), {m_db.folder, QStringLiteral("1000000000"),
                                                  QString::number(m_random.generate()), QStringLiteral("loop")});
    QVERIFY2(worker.waitForStarted(StartLimit), qPrintable(worker.errorString()));
}

bool TestKilledWorkstation::killWhen(const std::function<void(QProcess &)> &wait)
{
    QProcess worker;
    start(worker);
    if (!QTest::currentTestFailed())
        wait(worker);
    if (!QTest::currentTestFailed())
        killAndCheck(worker);
    return !QTest::currentTestFailed();
}

bool TestKilledWorkstation::read(QProcess &worker, const QDeadlineTimer &deadline, const QByteArray &until)
{
    for (;;) {
        while (worker.canReadLine()) {
            m_told.append(worker.readLine().trimmed());
            if (!until.isEmpty() && m_told.last().startsWith(until))
                return true;
        }
        if (deadline.hasExpired() || worker.state() != QProcess::Running)
            return false;
        worker.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    }
}

int TestKilledWorkstation::found(const char *sql, const QSet<qint64> &keys) const
{
    return keys.isEmpty() ? 0 : number(QString::fromLatin1(sql).arg(KeyList(keys)));
}

bool TestKilledWorkstation::told(const QByteArray &prefix) const
{
    return std::any_of(m_told.cbegin(), m_told.cend(), [&](const QByteArray &line) { return line.startsWith(prefix); });
}

void TestKilledWorkstation::killAndCheck(QProcess &worker)
{
    const bool running = worker.state() == QProcess::Running;
    worker.kill();
    QVERIFY(worker.waitForFinished(StartLimit));
    // The lines it wrote before it died were committed all the same.
    read(worker, QDeadlineTimer(0));
    QVERIFY2(running, worker.readAllStandardError().constData());
    for (const QByteArray &line : std::as_const(m_told)) {
        const QList<QByteArray> words = line.split(' ');
        const qint64 key = words.value(1).toLongLong();
        if (words.first() == "booked")
            m_booked.insert(key);
        else if (words.first() == "settled")
            m_settled.insert(key);
        else if (words.first() == "closed")
            m_closed.insert(key);
    }

    m_db.engine = std::make_unique<Engine>(QStringLiteral("check"));
    try {
        m_db.engine->open(m_db.folder);
    } catch (const EngineError &e) {
        QFAIL(qPrintable(e.message()));
    }
    // The file's integrity check is the first step of the ledger check: no torn page, no half-written row, no
    // number twice, every balance chain and closing whole.
    QVERIFY_LEDGER_SOUND(*m_db.engine);

    QCOMPARE(found("SELECT COUNT(*) FROM dromvel WHERE kiadva = 'I' AND dromvelid > 0 AND dromvel IN (%1);", m_booked),
             m_booked.size());
    QCOMPARE(found("SELECT COUNT(*) FROM dromvel WHERE elszamolva = 'I' AND dromvel IN (%1);", m_settled),
             m_settled.size());
    QCOMPARE(found("SELECT COUNT(*) FROM zarbizonylat WHERE zarbizonylat IN (%1);", m_closed), m_closed.size());
    // Each closing closes the day after the last one, so a till's closed-until date and its closing records
    // were written together or not at all.
    for (int till : {1, 2}) {
        const QDate closedUntil = TillClosedUntil(*m_db.engine, till);
        QCOMPARE(number(QStringLiteral("SELECT COUNT(*) FROM zarbizonylat WHERE kassza = %1;").arg(till)),
                 closedUntil.isValid() ? int(BeforeFirstClosing.daysTo(closedUntil)) : 0);
    }
}

void TestKilledWorkstation::killedAtRandomMoments()
{
    constexpr int Kills = 50;
    // Most kills land within this many milliseconds after the worker opened the database.
    constexpr int LongestRun = 300;
    int beforeStart = 0;
    for (int i = 0; i < Kills; ++i) {
        const bool checked = killWhen([&](QProcess &worker) {
            // Now and then the kill comes while the worker is still starting; however early, it is checked alike.
            if (m_random.bounded(8) == 0)
                read(worker, QDeadlineTimer(m_random.bounded(60)));
            else if (read(worker, QDeadlineTimer(StartLimit), "start"))
                read(worker, QDeadlineTimer(m_random.bounded(LongestRun)));
        });
        if (!checked)
            return;
        beforeStart += !told("start");
    }
    qInfo("%d kills, %d of them before the worker had opened the database; %lld bookings, %lld settlements and "
          "%lld closings committed before them.",
          Kills, beforeStart, qint64(m_booked.size()), qint64(m_settled.size()), qint64(m_closed.size()));
}

void TestKilledWorkstation::killedInTheMiddleOfAStep_data()
{
    QTest::addColumn<QByteArray>("announced");
    // Whether the step the line announced was committed, by what the database holds after the kill.
    QTest::addColumn<std::function<bool(LedgerFixture &, const QList<QByteArray> &words)>>("committed");
    QTest::newRow("day closing") << QByteArray("closing")
                                 << std::function([](LedgerFixture &db, const QList<QByteArray> &words) {
                                        const QDate closedUntil = TillClosedUntil(*db.engine, words.value(1).toInt());
                                        const QDate day =
                                            QDate::fromString(QString::fromLatin1(words.value(2)), Qt::ISODate);
                                        return closedUntil.isValid() && closedUntil >= day;
                                    });
    QTest::newRow("settlement") << QByteArray("settling")
                                << std::function([](LedgerFixture &db, const QList<QByteArray> &words) {
                                       return db.value(words.value(1).toInt(), "elszamolva").toString() ==
                                              QLatin1String("I");
                                   });
}

// The worker announces the step on its output just before it begins; the kill follows right after the test reads
// that line, so it lands inside the step or just after its commit.
void TestKilledWorkstation::killedInTheMiddleOfAStep()
{
    using Committed = std::function<bool(LedgerFixture &, const QList<QByteArray> &)>;
    QFETCH(QByteArray, announced);
    QFETCH(Committed, committed);
    constexpr int Kills = 5;
    int inside = 0;
    for (int i = 0; i < Kills; ++i) {
        QList<QByteArray> words;
        const bool checked = killWhen([&](QProcess &worker) {
            QVERIFY2(read(worker, QDeadlineTimer(StartLimit), announced), worker.readAllStandardError().constData());
            words = m_told.last().split(' ');
        });
        if (!checked)
            return;
        inside += !committed(m_db, words);
    }
    qInfo("%d kills after \"%s\", %d of them before the step's commit.", Kills, announced.constData(), inside);
}

QTEST_MAIN(TestKilledWorkstation)
#include "test_killedworkstation.moc"
