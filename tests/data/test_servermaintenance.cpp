#include "databaseupgrade.h"
#include "engine.h"
#include "indexrebuild.h"
#include "ledgercheck.h"
#include "ledgermove.h"
#include "ledgerrows.h"
#include "maintenancedatabase.h"
#include "paradoximport.h"
#include "paradoxwriter.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "serveraddress.h"
#include "testserver.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// The maintenance program's work on a database of the test server: the index rebuild, the upgrade, the ledger
// check, the import of old tables, and opening it only when no other program has it open.
class TestServerMaintenance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void rebuildReindexesEveryTableAndMakesWhatIsMissing();
    void rebuildNamesAMissingTableAndFinishesTheOthers();
    void upgrade_data();
    void upgrade();
    void check_data();
    void check();
    void openedOnlyWhenNoOtherProgramHasIt();
    void passwordNeededIsTold();
    void importWritesIntoAnEmptyServerDatabase();
    void importRefusesAServerDatabaseWithRows();

private:
    // The server's indexes of every table made by CREATE INDEX: "table: index".
    QStringList indexes();
    // The schema's indexes, with the primary index of a text key: "table: index".
    static QStringList SchemaIndexes();
    int rebuild()
    {
        m_errors.clear();
        m_statuses.clear();
        MaintenanceProgress progress;
        progress.error = [this](const QString &text) { m_errors.append(text); };
        progress.status = [this](const QString &text) { m_statuses.append(text); };
        progress.start = [this](int maximum) { m_maximum = maximum; };
        return RebuildIndexes(*m_engine, progress);
    }
    QString newDatabase()
    {
        m_databases.append(TestServer::newDatabase());
        return m_databases.last();
    }

    QTemporaryDir m_dir;
    QStringList m_databases;
    QString m_address;
    std::unique_ptr<Engine> m_engine;
    QStringList m_errors, m_statuses;
    int m_maximum = 0;
    // A sample ledger in a folder, and its old Paradox tables.
    QString m_sample, m_old;
};

void TestServerMaintenance::initTestCase()
{
    m_sample = m_dir.filePath(QStringLiteral("sample"));
    m_old = m_dir.filePath(QStringLiteral("old"));
    QDir().mkpath(m_sample);
    QDir().mkpath(m_old);
    Engine sample(QStringLiteral("sample"));
    sample.open(m_sample);
    FillSampleData(sample);
    FillSampleVouchers(sample, QDate(2024, 6, 14));
    const QString error = WriteOldDatabase(sample, m_old);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestServerMaintenance::init()
{
    // The sample ledger, booked once in a folder, comes over far quicker than it is booked again on the server.
    m_address = newDatabase();
    const LedgerMoveResult moved = MoveLedger(m_sample, m_address, {});
    QVERIFY2(moved.error.isEmpty(), qPrintable(moved.error));
    m_engine = std::make_unique<Engine>(QStringLiteral("maint"));
    m_engine->open(m_address);
}

void TestServerMaintenance::cleanup()
{
    m_engine.reset();
}

void TestServerMaintenance::cleanupTestCase()
{
    for (const QString &database : m_databases)
        TestServer::dropDatabase(database);
}

QStringList TestServerMaintenance::indexes()
{
    QStringList result;
    for (const TableDef &table : Schema::Tables())
        for (const QString &index : m_engine->indexNames(table.name))
            result.append(table.name + QStringLiteral(": ") + index);
    result.sort();
    return result;
}

QStringList TestServerMaintenance::SchemaIndexes()
{
    QStringList result;
    for (const TableDef &table : Schema::Tables()) {
        if (!Schema::PrimaryIndexName(table).isEmpty())
            result.append(table.name + QStringLiteral(": ") + Schema::PrimaryIndexName(table));
        for (const IndexDef &index : table.allIndexes())
            result.append(table.name + QStringLiteral(": ") + index.name);
    }
    result.sort();
    return result;
}

void TestServerMaintenance::rebuildReindexesEveryTableAndMakesWhatIsMissing()
{
    QCOMPARE(indexes(), SchemaIndexes());
    m_engine->exec(QStringLiteral("DROP INDEX ix_dromvel_balance;"));
    m_engine->exec(QStringLiteral("DROP INDEX pk_felhasznalo;"));
    m_engine->exec(QStringLiteral("DROP INDEX idx_ugyfel_nev;"));
    const QStringList rows = LedgerRows(*m_engine);
    for (int run = 0; run < 2; ++run) {
        QCOMPARE(rebuild(), 0);
        QCOMPARE(m_errors, QStringList());
        QCOMPARE(indexes(), SchemaIndexes());
    }
    QStringList expected;
    for (const TableDef &table : Schema::Tables())
        expected.append(QStringLiteral("Index készítés: ") + table.name);
    QCOMPARE(m_statuses, expected);
    QCOMPARE(m_maximum, int(Schema::Tables().size()));
    QCOMPARE(LedgerRows(*m_engine), rows);
    // The statistics are fresh: the server has analysed the ledger.
    QVERIFY(!Query(*m_engine, QStringLiteral("SELECT last_analyze FROM pg_stat_user_tables WHERE relname = "
                                             "'dromvel';"))
                 .firstValue()
                 .isNull());
}

void TestServerMaintenance::rebuildNamesAMissingTableAndFinishesTheOthers()
{
    m_engine->exec(QStringLiteral("DROP TABLE szervegyseg;"));
    m_engine->exec(QStringLiteral("DROP INDEX ix_dromvel_balance;"));
    QCOMPARE(rebuild(), 1);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().startsWith(QStringLiteral("Ismeretlen hiba: szervegyseg\n")),
             qPrintable(m_errors.first()));
    QVERIFY(m_engine->indexNames(QStringLiteral("dromvel")).contains(QStringLiteral("ix_dromvel_balance")));
}

void TestServerMaintenance::upgrade_data()
{
    QTest::addColumn<QStringList>("older");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::newRow("hiányzó mező") << QStringList{"ALTER TABLE dromvel DROP COLUMN felhasznalo;"} << "dromvel"
                                  << "felhasznalo";
    QTest::newRow("nagybetűs mezőnév") << QStringList{"ALTER TABLE beallit RENAME COLUMN formatft TO \"FORMATFT\";"}
                                       << "beallit"
                                       << "formatft";
    QTest::newRow("szűk jelszó mező, nyílt jelszó")
        << QStringList{"ALTER TABLE felhasznalo ALTER COLUMN jelszo TYPE varchar(10);",
                       "INSERT INTO felhasznalo (felhasznalo, jelszo) VALUES ('ANNA', 'titok');"}
        << "felhasznalo"
        << "jelszo";
    QTest::newRow("hiányzó tábla") << QStringList{"DROP TABLE szervegyseg;"} << "szervegyseg"
                                   << "szervegyseg_nev";
    QTest::newRow("naprakész") << QStringList() << "dromvel"
                               << "felhasznalo";
}

void TestServerMaintenance::upgrade()
{
    QFETCH(QStringList, older);
    QFETCH(QString, table);
    QFETCH(QString, field);
    const QRegularExpression kept(QStringLiteral("^(kassza|ugyfel|zarbizonylat)\\|"));
    const QStringList rows = LedgerRows(*m_engine).filter(kept);
    for (const QString &sql : older)
        m_engine->exec(sql);
    QStringList errors;
    MaintenanceProgress progress;
    progress.error = [&errors](const QString &text) { errors.append(text); };
    QVERIFY(UpgradeDatabase(*m_engine, progress));
    QCOMPARE(errors, QStringList());
    QVERIFY(m_engine->fieldNames(table).contains(field));
    // Each field of the schema is there once, at least as wide as the schema has it.
    for (const TableDef &def : Schema::Tables())
        for (const FieldDef &f : def.fields) {
            Query q(*m_engine, QStringLiteral("SELECT character_maximum_length FROM information_schema.columns WHERE "
                                              "table_name = :t AND lower(column_name) = :f;"));
            q.setText(QStringLiteral("t"), def.name).setText(QStringLiteral("f"), f.name);
            q.open();
            QVERIFY2(q.next(), qPrintable(def.name + "." + f.name));
            if (f.type == FieldType::Alpha)
                QVERIFY2(q.value(0).toInt() >= f.width, qPrintable(def.name + "." + f.name));
            QVERIFY(!q.next());
        }
    QCOMPARE(LedgerRows(*m_engine).filter(kept), rows);
    const QVariant stored = Query(*m_engine, QStringLiteral("SELECT jelszo FROM felhasznalo WHERE felhasznalo = "
                                                            "'ANNA';"))
                                .firstValue();
    QVERIFY(stored.isNull() || stored.toString().startsWith(QStringLiteral("$argon2id$")));
    // The rebuild that follows the upgrade finds every index in place.
    QCOMPARE(rebuild(), 0);
    QCOMPARE(indexes(), SchemaIndexes());
}

void TestServerMaintenance::check_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("finding");
    QTest::newRow("ép könyvelés") << QString() << QString();
    QTest::newRow("szakadt egyenleglánc")
        << "UPDATE dromvel SET nyito = nyito + 100 WHERE dromvel = (SELECT MAX(dromvel) FROM dromvel WHERE kiadva = "
           "'I' AND kibe <> 'N');"
        << "a nyitó egyenleg";
    QTest::newRow("kétszer kiadott bizonylatszám")
        << "UPDATE dromvel SET ssz = ssz + 1 WHERE dromvel = (SELECT MIN(dromvel) FROM dromvel WHERE ssz > 1);"
        << "bizonylatszám több soron is szerepel";
    QTest::newRow("ügyfél előlege") << "UPDATE ugyfel SET elszamolasra = 12345 WHERE ugyfel = (SELECT MIN(ugyfel) FROM "
                                       "ugyfel);"
                                    << "az elszámolásra kiadott összeg";
}

void TestServerMaintenance::check()
{
    QFETCH(QString, fault);
    QFETCH(QString, finding);
    if (!fault.isEmpty()) {
        // The backstop index would refuse a repeated serial.
        m_engine->exec(QStringLiteral("DROP INDEX ix_dromvel_booked_number;"));
        m_engine->exec(fault);
    }
    QStringList steps;
    const QStringList findings = LedgerCheck::run(*m_engine, [&steps](const QString &step) { steps.append(step); });
    QCOMPARE(steps.size(), 7);
    if (finding.isEmpty())
        QCOMPARE(findings, QStringList());
    else
        QVERIFY2(!findings.filter(finding).isEmpty(), qPrintable(findings.join('\n')));
}

void TestServerMaintenance::openedOnlyWhenNoOtherProgramHasIt()
{
    MaintenanceDatabase database;
    const QString refusal = database.open(m_address, MaintenanceDatabase::Access::Exclusive);
    QVERIFY2(refusal.contains(QStringLiteral("egy másik program használja")), qPrintable(refusal));
    QCOMPARE(database.open(m_address, MaintenanceDatabase::Access::Shared), QString());
    QVERIFY(database.engine().isServer());
    database.close();
    m_engine.reset();
    QCOMPARE(
        database.open(QStringLiteral("  ") + m_address + QStringLiteral(" "), MaintenanceDatabase::Access::Exclusive),
        QString());
    QCOMPARE(database.engine().folder(), m_address);
}

void TestServerMaintenance::passwordNeededIsTold()
{
    // The test role has no password: through TCP the server asks for one, and nothing gives it.
    qunsetenv("PGPASSWORD");
    QByteArray home = qgetenv("HOME");
    qputenv("HOME", m_dir.path().toLocal8Bit());
    ServerAddress address = *ServerAddress::parse(m_address);
    address.host = QStringLiteral("127.0.0.1");
    MaintenanceDatabase database;
    const QString refusal = database.open(address.toString(), MaintenanceDatabase::Access::Shared);
    qputenv("HOME", home);
    if (refusal.isEmpty())
        QSKIP("The test server lets this role in through TCP without a password.");
    QVERIFY2(refusal.startsWith(QStringLiteral("A kiszolgáló jelszót kér ehhez a felhasználóhoz.")),
             qPrintable(refusal));
}

void TestServerMaintenance::importWritesIntoAnEmptyServerDatabase()
{
    const QString target = newDatabase();
    const ParadoxImportResult result = ImportParadoxFolder(m_old, target, {});
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QCOMPARE(result.findings, QStringList());
    Engine imported(QStringLiteral("imported")), sample(QStringLiteral("sample"));
    imported.open(target);
    sample.open(m_sample);
    QCOMPARE(LedgerRows(imported), LedgerRows(sample));
    QVERIFY(result.report.filter(QRegularExpression(QStringLiteral("^dromvel: [1-9][0-9]+ sor$"))).size() == 1);
}

void TestServerMaintenance::importRefusesAServerDatabaseWithRows()
{
    const QStringList before = LedgerRows(*m_engine);
    const ParadoxImportResult result = ImportParadoxFolder(m_old, m_address, {});
    QVERIFY2(result.error.startsWith(QStringLiteral("Az új adatbázis nem üres: ")), qPrintable(result.error));
    QCOMPARE(LedgerRows(*m_engine), before);
}

QTEST_GUILESS_MAIN(TestServerMaintenance)
#include "test_servermaintenance.moc"
