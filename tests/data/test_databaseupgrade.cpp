#include "databaseupgrade.h"
#include "engine.h"
#include "indexrebuild.h"
#include "passwordhash.h"
#include "query.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "schema.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestDatabaseUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void olderLayoutComesUpToTheSchemaKeepingEveryRow();
    void upToDateDatabaseIsNotTouched();
    void upperCaseFieldCountsAsPresent();
    void fieldsOfItsOwnAreKept();
    void narrowPasswordFieldIsWidenedAndItsPasswordsHashed();
    void failingTableIsNamedAndLeftAsItWas();
    void cashControlsComeToAnOlderDatabase();

private:
    QStringList rows(const QString &table, const QStringList &fields) const;
    QString catalogue() const { return rows(QStringLiteral("sqlite_master"), {"name", "sql"}).join('\n'); }
    bool upgrade()
    {
        m_errors.clear();
        MaintenanceProgress progress;
        progress.error = [this](const QString &text) { m_errors.append(text); };
        return UpgradeDatabase(*m_engine, progress);
    }

    QTemporaryDir m_dir;
    int m_count = 0;
    std::unique_ptr<Engine> m_engine;
    QStringList m_errors;
};

void TestDatabaseUpgrade::init()
{
    const QString folder = m_dir.filePath(QString::number(++m_count));
    QDir().mkpath(folder);
    m_engine = std::make_unique<Engine>(QStringLiteral("upgrade"));
    m_engine->open(folder);
}

void TestDatabaseUpgrade::cleanup()
{
    m_engine.reset();
}

// Every row of the table with the given fields, in key order, as text.
QStringList TestDatabaseUpgrade::rows(const QString &table, const QStringList &fields) const
{
    QStringList result;
    QStringList order;
    for (int i = 1; i <= fields.size(); ++i)
        order.append(QString::number(i));
    Query q(*m_engine, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3;").arg(fields.join(','), table, order.join(',')));
    q.open();
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < fields.size(); ++i)
            values.append(q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
        result.append(values.join('|'));
    }
    return result;
}

void TestDatabaseUpgrade::olderLayoutComesUpToTheSchemaKeepingEveryRow()
{
    FillSampleData(*m_engine);
    FillSampleVouchers(*m_engine, QDate(2024, 6, 14));
    // The older layout: no user on the ledger rows, no money format, no organisational units; a deleted last
    // row whose key must not come back.
    const qint64 lastKey = rows("dromvel", {"MAX(dromvel)"}).first().toLongLong();
    m_engine->exec(QStringLiteral("DELETE FROM dromvel WHERE dromvel=%1;").arg(lastKey));
    m_engine->exec(QStringLiteral("ALTER TABLE dromvel DROP COLUMN felhasznalo;"));
    m_engine->exec(QStringLiteral("ALTER TABLE beallit DROP COLUMN formatft;"));
    m_engine->exec(QStringLiteral("DROP TABLE szervegyseg;"));
    m_engine->exec(QStringLiteral("DROP TABLE naplo;"));
    QMap<QString, QStringList> before;
    for (const QString &table : m_engine->tables())
        before.insert(table, rows(table, m_engine->fieldNames(table)));
    QVERIFY(before.value("dromvel").size() > 100);

    QVERIFY(upgrade());
    QVERIFY(m_errors.isEmpty());
    for (const TableDef &table : Schema::Tables())
        QCOMPARE(m_engine->fieldNames(table.name), table.fieldNames());
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        QStringList fields = m_engine->fieldNames(it.key());
        fields.removeAll(QString::fromLatin1(it.key() == QLatin1String("dromvel") ? "felhasznalo" : "formatft"));
        QCOMPARE(rows(it.key(), fields), it.value());
    }
    QCOMPARE(rows("dromvel", {"COUNT(felhasznalo)"}), QStringList{"0"});
    QCOMPARE(rows("beallit", {"formatft"}), QStringList{"NULL"});
    QCOMPARE(rows("szervegyseg", {"COUNT(*)"}), QStringList{"0"});
    QCOMPARE(rows("naplo", {"COUNT(*)"}), QStringList{"0"});
    QCOMPARE(m_engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kiadva"), QStringLiteral("N")}}),
             lastKey + 1);

    // The rebuild that follows finds every index it builds free to build.
    QCOMPARE(RebuildIndexes(*m_engine, {}), 0);
}

void TestDatabaseUpgrade::upToDateDatabaseIsNotTouched()
{
    FillSampleData(*m_engine);
    const QString before = catalogue();
    const QString changes = rows("sqlite_master", {"total_changes()"}).first();
    QVERIFY(upgrade());
    QCOMPARE(catalogue(), before);
    QCOMPARE(rows("sqlite_master", {"total_changes()"}).first(), changes);
}

void TestDatabaseUpgrade::upperCaseFieldCountsAsPresent()
{
    m_engine->exec(QStringLiteral("ALTER TABLE dromvel RENAME COLUMN felhasznalo TO FELHASZNALO;"));
    const QString before = catalogue();
    QVERIFY(upgrade());
    QCOMPARE(catalogue(), before);
    QVERIFY(m_engine->fieldNames("dromvel").contains(QStringLiteral("FELHASZNALO")));
}

void TestDatabaseUpgrade::fieldsOfItsOwnAreKept()
{
    FillSampleData(*m_engine);
    m_engine->exec(QStringLiteral("ALTER TABLE kassza ADD COLUMN megjegyzes TEXT;"));
    m_engine->exec(QStringLiteral("UPDATE kassza SET megjegyzes='széf ' || kassza;"));
    m_engine->exec(QStringLiteral("ALTER TABLE kassza DROP COLUMN most;"));
    const QStringList before = rows("kassza", {"kassza", "kassza_nev", "nyito", "megjegyzes"});
    QVERIFY(upgrade());
    QCOMPARE(m_engine->fieldNames("kassza"), Schema::Table("kassza")->fieldNames() << QStringLiteral("megjegyzes"));
    QCOMPARE(rows("kassza", {"kassza", "kassza_nev", "nyito", "megjegyzes"}), before);
}

void TestDatabaseUpgrade::narrowPasswordFieldIsWidenedAndItsPasswordsHashed()
{
    // The older layout held plain passwords of ten characters at most.
    m_engine->exec(QStringLiteral("DROP TABLE felhasznalo;"));
    m_engine->exec(QStringLiteral("CREATE TABLE felhasznalo (felhasznalo VARCHAR(20), felhasznalo_nev VARCHAR(20), "
                                  "jelszo VARCHAR(10), rendszergazda VARCHAR(1), torzsszerkeszt VARCHAR(1));"));
    m_engine->exec(QStringLiteral("INSERT INTO felhasznalo VALUES ('anna', 'Nagy Anna', 'titok', 'I', 'N'), "
                                  "('bela', 'Kis Béla', '0123456789', 'N', 'I'), ('cecil', NULL, NULL, 'N', 'N');"));
    QVERIFY(upgrade());
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(rows("pragma_table_info('felhasznalo')", {"name", "type"}).filter("jelszo"),
             QStringList{"jelszo|VARCHAR(128)"});
    QCOMPARE(rows("felhasznalo", {"felhasznalo", "felhasznalo_nev", "rendszergazda", "torzsszerkeszt"}),
             (QStringList{"anna|Nagy Anna|I|N", "bela|Kis Béla|N|I", "cecil|NULL|N|N"}));
    const QStringList passwords = rows("felhasznalo", {"felhasznalo", "jelszo"});
    QCOMPARE(passwords.size(), 3);
    const QStringList plain{"titok", "0123456789"};
    for (int i = 0; i < 2; ++i) {
        const QString stored = passwords.at(i).section(QLatin1Char('|'), 1);
        QVERIFY2(IsPasswordHash(stored) && PasswordMatches(stored, plain.at(i)), qPrintable(stored));
    }
    QCOMPARE(passwords.at(2), QStringLiteral("cecil|NULL"));
    QVERIFY(m_engine->indexNames("felhasznalo").contains(Schema::PrimaryIndexName(*Schema::Table("felhasznalo"))));

    // Once done, a second run finds nothing to do.
    const QString changes = rows("sqlite_master", {"total_changes()"}).first();
    QVERIFY(upgrade());
    QCOMPARE(rows("sqlite_master", {"total_changes()"}).first(), changes);
}

void TestDatabaseUpgrade::failingTableIsNamedAndLeftAsItWas()
{
    FillSampleData(*m_engine);
    m_engine->exec(QStringLiteral("ALTER TABLE ugyfel DROP COLUMN fax;"));
    m_engine->exec(QStringLiteral("ALTER TABLE beallit DROP COLUMN formatft;"));
    // The name the rebuild would park the old table under is taken.
    m_engine->exec(QStringLiteral("CREATE TABLE ugyfel_regi (x INTEGER);"));
    const QStringList clients = rows("ugyfel", m_engine->fieldNames("ugyfel"));
    const QStringList indexes = rows("sqlite_master", {"name", "tbl_name"});
    QVERIFY(!upgrade());
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().startsWith(QStringLiteral("Ismeretlen hiba: ugyfel\n")), qPrintable(m_errors.first()));
    QCOMPARE(rows("ugyfel", m_engine->fieldNames("ugyfel")), clients);
    QVERIFY(!m_engine->fieldNames("ugyfel").contains(QStringLiteral("fax")));
    QCOMPARE(rows("sqlite_master", {"name", "tbl_name"}), indexes);
    QCOMPARE(m_engine->fieldNames("beallit"), Schema::Table("beallit")->fieldNames());
    QCOMPARE(m_engine->transactionDepth(), 0);
}

void TestDatabaseUpgrade::cashControlsComeToAnOlderDatabase()
{
    // A database from before the cash limits and the cash count.
    FillSampleData(*m_engine);
    const QStringList tills = rows("kassza", {"kassza", "kassza_nev", "most"});
    m_engine->exec(QStringLiteral("ALTER TABLE kassza DROP COLUMN zaro_max;"));
    m_engine->exec(QStringLiteral("ALTER TABLE zarbizonylat DROP COLUMN zaro_max;"));
    m_engine->exec(QStringLiteral("ALTER TABLE beallit DROP COLUMN kpfizetes_havi;"));
    m_engine->exec(QStringLiteral("DROP TABLE penztarellenorzes;"));

    QVERIFY(upgrade());
    QVERIFY(m_errors.isEmpty());
    for (const char *table : {"kassza", "zarbizonylat", "beallit", "penztarellenorzes"})
        QCOMPARE(m_engine->fieldNames(QString::fromLatin1(table)),
                 Schema::Table(QString::fromLatin1(table))->fieldNames());
    // The tills keep their rows without a limit; the settings row holds the usual monthly limit.
    QCOMPARE(rows("kassza", {"kassza", "kassza_nev", "most"}), tills);
    QCOMPARE(rows("kassza", {"COUNT(zaro_max)"}), QStringList{"0"});
    QCOMPARE(rows("beallit", {"beallit", "kpfizetes_havi"}), QStringList{"1|1500000"});
}

QTEST_GUILESS_MAIN(TestDatabaseUpgrade)
#include "test_databaseupgrade.moc"
