#include "archive.h"
#include "archiveerror.h"
#include "dayclosing.h"
#include "engine.h"
#include "ledgerrows.h"
#include "restore.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "serveraddress.h"
#include "testfiles.h"
#include "testserver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate Today(2024, 6, 14);

// A tool of the server replaced, for one test, by a script of the test's own on the front of PATH.
class FakeTool
{
public:
    FakeTool(const QString &folder, const QString &name, const QByteArray &script) : m_path(qgetenv("PATH"))
    {
        QDir().mkpath(folder);
        if (!script.isEmpty()) {
            QFile file(QDir(folder).filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write("#!/bin/sh\n" + script);
            file.close();
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        // Without a script the folder alone stands on PATH: the tool is missing.
        qputenv("PATH", script.isEmpty() ? folder.toLocal8Bit() : folder.toLocal8Bit() + ':' + m_path);
    }
    ~FakeTool() { qputenv("PATH", m_path); }
    FakeTool(const FakeTool &) = delete;
    FakeTool &operator=(const FakeTool &) = delete;

private:
    QByteArray m_path;
};

QStringList RowsOf(const QString &address)
{
    Engine engine(QStringLiteral("rows"));
    engine.open(address);
    return LedgerRows(engine);
}

QString Failure(const std::function<void()> &f)
{
    try {
        f();
    } catch (const ArchiveError &e) {
        return e.message();
    }
    return {};
}

} // namespace

// A database on the test server archived as its dump and restored from it; the dump's failures and the restore's
// refusals.
class TestServerArchive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void archiveHoldsTheDumpAndTheNote();
    void restoreGivesTheSameLedger();
    void restoreRefused_data();
    void restoreRefused();
    void dumpFailureLeavesNoArchive_data();
    void dumpFailureLeavesNoArchive();
    void passwordReachesOnlyTheDump();

private:
    QString newDatabase()
    {
        m_databases.append(TestServer::newDatabase());
        return m_databases.last();
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QStringList m_databases;
    QString m_source;
    QString m_zip;
    QStringList m_rows;
};

void TestServerArchive::initTestCase()
{
    m_source = newDatabase();
    Engine engine(QStringLiteral("source"));
    engine.open(m_source);
    FillSampleData(engine);
    FillSampleVouchers(engine, Today);
    CloseDay(engine, 1, Today, QString());
    m_rows = LedgerRows(engine);
    QVERIFY(m_rows.size() > 100);
    m_zip = path(QStringLiteral("szerver.zip"));
    const ArchiveResult result = ArchiveDatabase(m_source, m_zip);
    QCOMPARE(result.entries, 2);
    QVERIFY(result.unchecked.isEmpty());
}

void TestServerArchive::cleanupTestCase()
{
    for (const QString &database : m_databases)
        TestServer::dropDatabase(database);
}

void TestServerArchive::archiveHoldsTheDumpAndTheNote()
{
    const QMap<QString, ZipEntry> entries = ReadZip(m_zip);
    QCOMPARE(entries.keys(), QStringList({"dromvel.dump", "kiszolgalo.txt"}));
    // The server's custom format, which only pg_restore reads.
    QVERIFY(entries.value("dromvel.dump").bytes.startsWith("PGDMP"));
    const QString note = QString::fromUtf8(entries.value("kiszolgalo.txt").bytes);
    QVERIFY2(note.contains(QStringLiteral("Kiszolgáló:  ") + m_source + QStringLiteral("\r\n")), qPrintable(note));
    QVERIFY(
        note.contains(QStringLiteral("Készült:     ") + QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd."))));
    QVERIFY(!note.contains(QStringLiteral("jelszó"), Qt::CaseInsensitive));
}

void TestServerArchive::restoreGivesTheSameLedger()
{
    const QString target = newDatabase();
    const RestoreResult result = RestoreArchive(m_zip, target, m_source);
    QCOMPARE(result.findings, QStringList());
    QCOMPARE(RowsOf(target), m_rows);
    // The restored counters go on after the restored keys: a new row does not take a number already there.
    Engine engine(QStringLiteral("restored"));
    engine.open(target);
    const qint64 last = Query(engine, QStringLiteral("SELECT MAX(dromvel) FROM dromvel;")).firstValue().toLongLong();
    QCOMPARE(engine.insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1}}), last + 1);
}

void TestServerArchive::restoreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("cél adatbázisban könyvelés") << "filled"
                                                << "A cél adatbázis nem üres";
    QTest::newRow("cél a megnyitott adatbázis") << "open"
                                                << "nem lehet a megnyitott adatbázis";
    QTest::newRow("mappa archívuma kiszolgálóra") << "folder archive"
                                                  << "adatbázis mappáról készült";
    QTest::newRow("kiszolgáló archívuma mappába") << "into folder"
                                                  << "csak kiszolgáló-adatbázisba";
    QTest::newRow("hibás cím") << "bad address"
                               << "Hibás kiszolgáló cím";
    QTest::newRow("nem a program mentése") << "foreign dump"
                                           << "nem Dromvel.Pro adatbázis";
    // The table of contents at the start is whole, rows after it are damaged: pg_restore fails half way.
    QTest::newRow("sérült mentés") << "damaged dump"
                                   << "Az archívum nem állítható vissza ide";
}

void TestServerArchive::restoreRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QString target = newDatabase();
    QString zip = m_zip;
    QString open = path(QStringLiteral("masik"));
    QStringList before;
    if (kind == "filled") {
        Engine engine(QStringLiteral("filled"));
        engine.open(target);
        FillSampleData(engine);
    } else if (kind == "open") {
        open = target;
    } else if (kind == "folder archive") {
        const QString folder = path(QStringLiteral("mappa"));
        QDir().mkpath(folder);
        Engine(QStringLiteral("folder")).open(folder);
        zip = path(QStringLiteral("mappa.zip"));
        ArchiveFolder(folder, zip);
    } else if (kind == "into folder") {
        target = path(QStringLiteral("ures"));
        QDir().mkpath(target);
    } else if (kind == "bad address") {
        target = QStringLiteral("postgresql://kiszolgalo");
    } else if (kind == "foreign dump") {
        // A dump of the server that is no ledger of the program: an empty database.
        zip = path(QStringLiteral("idegen.zip"));
        ArchiveDatabase(newDatabase(), zip);
    } else if (kind == "damaged dump") {
        QMap<QString, QByteArray> entries;
        for (const auto &[name, entry] : ReadZip(m_zip).asKeyValueRange())
            entries.insert(name, entry.bytes);
        QByteArray &dump = entries["dromvel.dump"];
        dump.replace(dump.size() - 400, 64, QByteArray(64, 'x'));
        zip = path(QStringLiteral("serult.zip"));
        WriteZip(zip, entries);
    }
    if (ServerAddress::parse(target) && kind != "bad address")
        before = RowsOf(target);
    const QString failure = Failure([&] { RestoreArchive(zip, target, open); });
    QVERIFY2(failure.contains(message), qPrintable(failure));
    if (!before.isEmpty())
        QCOMPARE(RowsOf(target), before);
    if (kind == "into folder")
        QVERIFY(QDir(target).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

void TestServerArchive::dumpFailureLeavesNoArchive_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("missingDatabase");
    QTest::addColumn<bool>("earlierArchive");
    QTest::addColumn<QString>("told");
    QTest::newRow("nincs pg_dump") << QByteArray() << false << false << "pg_dump program nem indítható el";
    QTest::newRow("nincs pg_dump, régi archívum marad") << QByteArray() << false << true << "postgresql-client";
    QTest::newRow("nem létező adatbázis") << QByteArray("valódi") << true << true << "does not exist";
    QTest::newRow("félbeszakadt mentés")
        << QByteArray("for a in \"$@\"; do case \"$a\" in --file=*) printf PGDMP-fel > \"${a#--file=}\";; esac; done\n"
                      "echo 'pg_dump: error: connection lost' >&2\nexit 1\n")
        << false << true << "connection lost";
}

void TestServerArchive::dumpFailureLeavesNoArchive()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, missingDatabase);
    QFETCH(bool, earlierArchive);
    QFETCH(QString, told);
    static int n = 0;
    const QString zip = path(QStringLiteral("hibas%1.zip").arg(++n));
    if (earlierArchive) {
        QFile old(zip);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("korábbi archívum");
    }
    QString source = m_source;
    if (missingDatabase)
        source.replace(QStringLiteral("dromvel_test_"), QStringLiteral("nincs_ilyen_"));
    QString failure;
    {
        std::optional<FakeTool> tool;
        if (script != "valódi")
            tool.emplace(path(QStringLiteral("eszkoz%1").arg(n)), QStringLiteral("pg_dump"), script);
        failure = Failure([&] { ArchiveDatabase(source, zip); });
    }
    QVERIFY2(failure.startsWith(QStringLiteral("A kiszolgáló adatbázisáról nem készült mentés")), qPrintable(failure));
    QVERIFY2(failure.contains(told), qPrintable(failure));
    if (earlierArchive) {
        QFile old(zip);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(old.readAll()), QStringLiteral("korábbi archívum"));
    } else {
        QVERIFY(!QFile::exists(zip));
    }
    QCOMPARE(QDir(m_dir.path()).entryList({"*.zip.*", ".*.zip*"}, QDir::Files | QDir::Hidden), QStringList());
}

void TestServerArchive::passwordReachesOnlyTheDump()
{
    qunsetenv("PGPASSWORD");
    const QString zip = path(QStringLiteral("jelszo.zip"));
    {
        const FakeTool tool(path(QStringLiteral("jelszo")), QStringLiteral("pg_dump"),
                            "for a in \"$@\"; do case \"$a\" in --file=*) printf \"$PGPASSWORD\" > \"${a#--file=}\";; "
                            "esac; done\n");
        ArchiveDatabase(m_source, zip, QStringLiteral("titok ő"));
    }
    QCOMPARE(QString::fromUtf8(ReadZip(zip).value("dromvel.dump").bytes), QStringLiteral("titok ő"));
    QVERIFY(!qEnvironmentVariableIsSet("PGPASSWORD"));
    QVERIFY(!ReadZip(zip).value("kiszolgalo.txt").bytes.contains("titok"));
}

QTEST_GUILESS_MAIN(TestServerArchive)
#include "test_serverarchive.moc"
