#include "dayclosing.h"
#include "engine.h"
#include "ledgercheck.h"
#include "ledgermove.h"
#include "ledgerrows.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "serveraddress.h"
#include "testserver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate Today(2024, 6, 14);

QStringList RowsOf(const QString &database)
{
    Engine engine(QStringLiteral("rows"));
    engine.open(database);
    return LedgerRows(engine);
}

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// A sample ledger moved from a folder to the test server and back, and the moves that are refused.
class TestLedgerMove : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void folderToServerAndBackGivesTheSameLedger();
    void refused_data();
    void refused();

private:
    QString newDatabase()
    {
        m_databases.append(TestServer::newDatabase());
        return m_databases.last();
    }
    QString newFolder()
    {
        const QString folder = m_dir.filePath(QString::number(++m_count));
        QDir().mkpath(folder);
        return folder;
    }
    LedgerMoveResult move(const QString &source, const QString &target)
    {
        m_statuses.clear();
        MaintenanceProgress progress;
        progress.status = [this](const QString &text) { m_statuses.append(text); };
        return MoveLedger(source, target, progress);
    }

    QTemporaryDir m_dir;
    int m_count = 0;
    QStringList m_databases;
    QString m_sample;
    QStringList m_rows;
    QStringList m_statuses;
};

void TestLedgerMove::initTestCase()
{
    m_sample = newFolder();
    Engine engine(QStringLiteral("sample"));
    engine.open(m_sample);
    FillSampleData(engine);
    FillSampleVouchers(engine, Today);
    CloseDay(engine, 1, Today, QString());
    // A voucher deleted after the last one: its row number is not handed out again, wherever the ledger goes.
    const qint64 last = engine.insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1}});
    engine.remove(QStringLiteral("dromvel"), QStringLiteral("dromvel"), last);
    m_rows = LedgerRows(engine);
    QVERIFY(m_rows.size() > 100);
    QVERIFY(LedgerCheck::run(engine).isEmpty());
}

void TestLedgerMove::cleanupTestCase()
{
    for (const QString &database : m_databases)
        TestServer::dropDatabase(database);
}

void TestLedgerMove::folderToServerAndBackGivesTheSameLedger()
{
    const QByteArray sourceBytes = Bytes(QDir(m_sample).filePath("dromvel.sqlite"));
    const QString server = newDatabase();
    LedgerMoveResult result = move(m_sample, server);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QCOMPARE(result.findings, QStringList());
    QVERIFY(result.report.contains(
        QStringLiteral("dromvel: %1 sor").arg(m_rows.filter(QRegularExpression("^dromvel\\|")).size())));
    QVERIFY(m_statuses.contains(QStringLiteral("Áthelyezés: zarbizonylat")));
    QCOMPARE(RowsOf(server), m_rows);
    // The log came along, and tells of the move last.
    {
        Engine engine(QStringLiteral("log"));
        engine.open(server);
        QCOMPARE(Query(engine, QStringLiteral("SELECT esemeny FROM naplo ORDER BY naplo DESC LIMIT 1;"))
                     .firstValue()
                     .toString(),
                 QStringLiteral("Áthelyezés"));
        QVERIFY(Query(engine, QStringLiteral("SELECT COUNT(*) FROM naplo;")).firstValue().toInt() > 1);
    }
    // The source is left as it was.
    QCOMPARE(Bytes(QDir(m_sample).filePath("dromvel.sqlite")), sourceBytes);

    const QString back = newFolder();
    result = move(server, back);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QCOMPARE(result.findings, QStringList());
    QCOMPARE(RowsOf(back), m_rows);

    // Row numbers once handed out, the deleted last one too, are not handed out again after either move.
    for (const QString &database : {server, back}) {
        Engine engine(QStringLiteral("next"));
        engine.open(database);
        const qint64 last =
            Query(engine, QStringLiteral("SELECT MAX(dromvel) FROM dromvel;")).firstValue().toLongLong();
        QVERIFY2(engine.insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1}}) > last + 1,
                 qPrintable(database));
    }
}

void TestLedgerMove::refused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("kiszolgálón már van könyvelés") << "filled server"
                                                   << "A cél adatbázis nem üres";
    QTest::newRow("a mappában már van könyvelés") << "filled folder"
                                                  << "A cél adatbázis nem üres";
    QTest::newRow("nem létező cél mappa") << "missing folder"
                                          << "Nem létező mappa";
    QTest::newRow("nem létező forrás") << "missing source"
                                       << "A forrás adatbázis nem nyitható meg";
    QTest::newRow("önmagába") << "itself"
                              << "A forrás és a cél ugyanaz az adatbázis";
    QTest::newRow("a forrást más program használja") << "source in use"
                                                     << "egy másik program használja";
}

void TestLedgerMove::refused()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QString source = m_sample;
    QString target;
    std::unique_ptr<Engine> holder;
    if (kind == "filled server" || kind == "filled folder") {
        target = kind == "filled server" ? newDatabase() : newFolder();
        Engine engine(QStringLiteral("filled"));
        engine.open(target);
        FillSampleData(engine);
    } else if (kind == "missing folder") {
        target = m_dir.filePath(QStringLiteral("nincs"));
    } else if (kind == "missing source") {
        source = newFolder();
        target = newDatabase();
    } else if (kind == "itself") {
        target = m_sample + QLatin1Char('/');
    } else if (kind == "source in use") {
        source = newDatabase();
        target = newFolder();
        holder = std::make_unique<Engine>(QStringLiteral("holder"));
        holder->open(source);
    }
    const bool folderTarget = !ServerAddress::isServerPath(target);
    const QStringList before =
        folderTarget && !QFile::exists(QDir(target).filePath("dromvel.sqlite")) ? QStringList() : RowsOf(target);
    const LedgerMoveResult result = move(source, target);
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
    QVERIFY(result.report.isEmpty());
    if (before.isEmpty() && folderTarget)
        QVERIFY(!QFile::exists(QDir(target).filePath("dromvel.sqlite")));
    else
        QCOMPARE(RowsOf(target), before);
    QCOMPARE(RowsOf(m_sample), m_rows);
}

QTEST_GUILESS_MAIN(TestLedgerMove)
#include "test_ledgermove.moc"
