#include "engine.h"
#include "lefttransaction.h"
#include "loggedstatement.h"
#include "query.h"
#include "schema.h"
#include "serveraddress.h"
#include "testdatabase.h"
#include "testserver.h"

#include <QCoreApplication>
#include <QtTest>

// What the program relies on from its engine, the same on SQLite and on the server: Hungarian order and case,
// the catalogue, row ids and keys, dates, transactions, and the messages of the common failures.
class TestEngineBehaviour : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_db.fresh(QStringLiteral("behaviour")); }
    void cleanup() { m_db.close(); }

    void hungarianOrder();
    void upperAndLikeKnowHungarianLetters_data();
    void upperAndLikeKnowHungarianLetters();
    void catalogueListsTheSchema();
    void rowIdsAndKeys();
    void keyGivenByTheCallerIsNotGivenAgain();
    void datesAndTextsAsStored();
    void failedStepOfANestedTransactionLeavesTheRestStanding();
    void secondWriterWaitsThenIsToldSo();
    void consoleTransactionIsSeenAndALeftOneRolledBack();
    void connectionFailuresAreExplained_data();
    void connectionFailuresAreExplained();
    void databaseWithoutHungarianLettersIsRefused();

private:
    QVariant scalar(const QString &sql) { return Query(*m_db.engine, sql).firstValue(); }
    QStringList column(const QString &sql)
    {
        Query q(*m_db.engine, sql);
        q.open();
        QStringList values;
        while (q.next())
            values.append(q.value(0).toString());
        return values;
    }

    TestDatabase m_db;
};

void TestEngineBehaviour::hungarianOrder()
{
    const QStringList names{"Zoltán", "ábel",  "Csaba", "Cukor",  "Cecil", "Dzsó", "Dugó", "Dávid", "Ödön", "Ottó",
                            "Őz",     "Szabó", "Sütő",  "Sándor", "Éva",   "Ede",  "Ürge", "Űr",    "Uwe",  "Ábel"};
    for (const QString &name : names)
        m_db.engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), name}});
    // Letter case ignored, accents after the plain letter, cs/dzs/sz letters of their own; ties by code point.
    QCOMPARE(column(QStringLiteral("SELECT ugyfel_nev FROM ugyfel ORDER BY ugyfel_nev COLLATE HU, ugyfel_nev;")),
             (QStringList{"Ábel", "ábel", "Cecil", "Cukor",  "Csaba", "Dávid", "Dugó", "Dzsó", "Ede",  "Éva",
                          "Ottó", "Ödön", "Őz",    "Sándor", "Sütő",  "Szabó", "Uwe",  "Űr",   "Ürge", "Zoltán"}));
    // Without the collation, texts compare by code point on both engines.
    QCOMPARE(column(QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE ugyfel_nev < 'E' ORDER BY ugyfel_nev;")),
             (QStringList{"Cecil", "Csaba", "Cukor", "Dugó", "Dzsó", "Dávid"}));
}

void TestEngineBehaviour::upperAndLikeKnowHungarianLetters_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("found");
    QTest::newRow("accented capitals") << QStringLiteral("%TŰRŐ%") << 2;
    QTest::newRow("small letters do not match") << QStringLiteral("%tűrő%") << 0;
    QTest::newRow("prefix") << QStringLiteral("ÁRVÍZ%") << 1;
    QTest::newRow("one letter wildcard") << QStringLiteral("_RVÍZ%") << 1;
    QTest::newRow("plain letter is not the accented one") << QStringLiteral("%TURO%") << 0;
}

void TestEngineBehaviour::upperAndLikeKnowHungarianLetters()
{
    QFETCH(QString, pattern);
    for (const char *name : {"árvíztűrő tükörfúrógép", "Kis tűrőképes", "Tura"})
        m_db.engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QString::fromUtf8(name)}});
    QCOMPARE(scalar(QStringLiteral("SELECT UPPER(ugyfel_nev) FROM ugyfel WHERE ugyfel = 1;")).toString(),
             QStringLiteral("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP"));
    Query q(*m_db.engine, QStringLiteral("SELECT COUNT(*) FROM ugyfel WHERE UPPER(ugyfel_nev) LIKE :p;"));
    q.setText(QStringLiteral("p"), pattern);
    QTEST(q.firstValue().toInt(), "found");
}

void TestEngineBehaviour::catalogueListsTheSchema()
{
    Engine &engine = *m_db.engine;
    QStringList names;
    for (const TableDef &table : Schema::Tables())
        names.append(table.name);
    names.sort();
    QCOMPARE(engine.tables(), names);
    for (const TableDef &table : Schema::Tables()) {
        QCOMPARE(engine.fieldNames(table.name), table.fieldNames());
        QStringList indexes;
        for (const IndexDef &index : table.allIndexes())
            indexes.append(index.name);
        if (!Schema::PrimaryIndexName(table).isEmpty())
            indexes.append(Schema::PrimaryIndexName(table));
        indexes.sort();
        QCOMPARE(engine.indexNames(table.name), indexes);
        // The key orders the table, by its own index or as the row id.
        QVERIFY2(engine.hasIndexOn(table.name, {table.key().name}), qPrintable(table.name));
    }
    QVERIFY(engine.hasIndexOn(QStringLiteral("dromvel"), {QStringLiteral("betujel"), QStringLiteral("ssz")}));
    QVERIFY(!engine.hasIndexOn(QStringLiteral("dromvel"), {QStringLiteral("ssz")}));
    QVERIFY_THROWS_EXCEPTION(EngineError, engine.fieldNames(QStringLiteral("nincs_ilyen")));
    QVERIFY_THROWS_EXCEPTION(EngineError, engine.hasIndexOn(QStringLiteral("nincs_ilyen"), {QStringLiteral("a")}));

    // Index rebuild: dropped, then made again as the schema lists them.
    engine.dropIndexes(QStringLiteral("ugyfel"));
    QVERIFY(engine.indexNames(QStringLiteral("ugyfel")).isEmpty());
    engine.createPrimaryIndex(QStringLiteral("ugyfel"));
    engine.createSecondaryIndexes(QStringLiteral("ugyfel"));
    QCOMPARE(engine.indexNames(QStringLiteral("ugyfel")).size(),
             Schema::Table(QStringLiteral("ugyfel"))->allIndexes().size());
}

void TestEngineBehaviour::rowIdsAndKeys()
{
    Engine &engine = *m_db.engine;
    // A table with a text key: its rows are found by the row id insert() gave.
    const qint64 user =
        engine.insert(QStringLiteral("felhasznalo"), {{QStringLiteral("felhasznalo"), QStringLiteral("anna")}});
    engine.insert(QStringLiteral("felhasznalo"), {{QStringLiteral("felhasznalo"), QStringLiteral("bela")}});
    QCOMPARE(engine.update(QStringLiteral("felhasznalo"), QStringLiteral("rowid"), user,
                           {{QStringLiteral("felhasznalo_nev"), QStringLiteral("Kis Anna")}}),
             1);
    QCOMPARE(scalar(QStringLiteral("SELECT felhasznalo_nev FROM felhasznalo WHERE rowid = %1;").arg(user)).toString(),
             QStringLiteral("Kis Anna"));
    // The owner row every database starts with has no key at all.
    QCOMPARE(engine.update(QStringLiteral("tulajdonos"), QStringLiteral("rowid"),
                           scalar(QStringLiteral("SELECT rowid FROM tulajdonos;")),
                           {{QStringLiteral("tulajdonos"), QStringLiteral("Teszt Kft.")}}),
             1);
    // An integer key is the row id.
    const qint64 till = engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Fő")}});
    QCOMPARE(scalar(QStringLiteral("SELECT kassza FROM kassza WHERE rowid = %1;").arg(till)).toLongLong(), till);
    QCOMPARE(engine.remove(QStringLiteral("felhasznalo"), QStringLiteral("rowid"), user), 1);
    QCOMPARE(column(QStringLiteral("SELECT felhasznalo FROM felhasznalo;")), QStringList{"bela"});
}

void TestEngineBehaviour::keyGivenByTheCallerIsNotGivenAgain()
{
    Engine &engine = *m_db.engine;
    const auto till = [&engine](const QVariantMap &values) { return engine.insert(QStringLiteral("kassza"), values); };
    QCOMPARE(till({}), 1);
    QCOMPARE(till({{QStringLiteral("kassza"), 7}}), 7);
    QCOMPARE(till({}), 8);
    // Raw statements as a restore or an import writes them.
    engine.exec(QStringLiteral("INSERT INTO kassza (kassza, kassza_nev) VALUES (20, 'Húsz');"));
    QCOMPARE(till({}), 21);
    // The settings row's integer key is given by itself too.
    engine.exec(QStringLiteral("DELETE FROM beallit;"));
    QVERIFY(engine.insert(QStringLiteral("beallit"), {{QStringLiteral("metodus"), 1}}) > 0);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM beallit WHERE beallit IS NOT NULL;")).toInt(), 1);
}

void TestEngineBehaviour::datesAndTextsAsStored()
{
    Engine &engine = *m_db.engine;
    engine.insert(QStringLiteral("kassza"),
                  {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár a hosszú nevével együtt")},
                   {QStringLiteral("valuta"), QString()},
                   {QStringLiteral("lezarva"), QDate(2026, 2, 28)}});
    Query q(*m_db.engine, QStringLiteral("SELECT kassza_nev, valuta, lezarva FROM kassza WHERE lezarva >= :from AND "
                                         "lezarva < '2026-03-01';"));
    q.setDate(QStringLiteral("from"), QDate(2026, 2, 1));
    q.open();
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Főpénztár a hosszú nevéve"));
    QVERIFY(q.value(1).isNull());
    QCOMPARE(q.value(2), QVariant(QDate(2026, 2, 28)));
    q.close();
    // A text longer than its field cannot get in past the schema either.
    if (engine.isServer())
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 engine.exec(QStringLiteral("UPDATE kassza SET valuta = 'HUF1' WHERE kassza = 1;")));
}

void TestEngineBehaviour::failedStepOfANestedTransactionLeavesTheRestStanding()
{
    Engine &engine = *m_db.engine;
    {
        Transaction outer(engine);
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Első")}});
        try {
            Transaction inner(engine);
            engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Belső")}});
            engine.exec(QStringLiteral("INSERT INTO nincs_ilyen VALUES (1);"));
            inner.commit();
        } catch (const EngineError &) {
        }
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Második")}});
        outer.commit();
    }
    QCOMPARE(column(QStringLiteral("SELECT kassza_nev FROM kassza ORDER BY kassza;")),
             (QStringList{"Első", "Második"}));
    {
        Transaction dropped(engine);
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Eldobott")}});
    }
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM kassza;")).toInt(), 2);
    QCOMPARE(engine.transactionDepth(), 0);
}

void TestEngineBehaviour::secondWriterWaitsThenIsToldSo()
{
    Transaction first(*m_db.engine);
    m_db.engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Fő")}});
    Engine other(QStringLiteral("behaviour_other"));
    other.open(m_db.folder);
    try {
        Transaction second(other);
        QFAIL("the second writer got the lock");
    } catch (const EngineError &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Az adatbázist most egy másik munkahely írja.")),
                 qPrintable(e.message()));
    }
    QCOMPARE(other.transactionDepth(), 0);
    first.commit();
    Transaction second(other);
    second.commit();
}

void TestEngineBehaviour::consoleTransactionIsSeenAndALeftOneRolledBack()
{
    Engine &engine = *m_db.engine;
    const QString user = QStringLiteral("teszt");
    QVERIFY(!engine.inTransaction());
    RunLoggedStatement(engine, QStringLiteral("BEGIN;"), user);
    QVERIFY(engine.inTransaction());
    RunLoggedStatement(engine, QStringLiteral("INSERT INTO kassza (kassza_nev) VALUES ('Konzol');"), user);
    QVERIFY(RollBackLeftTransaction(engine));
    QVERIFY(!engine.inTransaction());
    QVERIFY(!RollBackLeftTransaction(engine));
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM kassza;")).toInt(), 0);
    // A statement on its own is committed with its log entry.
    RunLoggedStatement(engine, QStringLiteral("INSERT INTO kassza (kassza_nev) VALUES ('Konzol');"), user);
    QVERIFY(!engine.inTransaction());
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM kassza;")).toInt(), 1);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM naplo WHERE szoveg LIKE 'INSERT INTO kassza%';")).toInt(), 1);
}

void TestEngineBehaviour::connectionFailuresAreExplained_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("explanation");
    QTest::addColumn<QString>("serverSays"); // the server's or libpq's own words, kept beside the explanation
    QTest::addColumn<bool>("turnedAway");    // the role is in the group that the server's pg_hba.conf turns away
    // The tests' role reaches the server through its socket without a password; a role of this test over TCP
    // needs one.
    const QString role = QStringLiteral("dromvel_test_%1_role").arg(QCoreApplication::applicationPid());
    const QString overTcp = QStringLiteral("postgresql://%1@127.0.0.1/%2").arg(role);
    QTest::newRow("database missing") << QStringLiteral("postgresql:///dromvel_nincs_ilyen") << QString()
                                      << QStringLiteral("Az adatbázis nem létezik a kiszolgálón.")
                                      << "\"dromvel_nincs_ilyen\" does not exist" << false;
    QTest::newRow("nobody listens") << QStringLiteral("postgresql://127.0.0.1:1/dromvel") << QString()
                                    << QStringLiteral("Az adatbázis-kiszolgáló nem érhető el.") << "Connection refused"
                                    << false;
    QTest::newRow("wrong password") << overTcp << "rossz" << QStringLiteral("A kiszolgáló nem fogadta el")
                                    << "password authentication failed" << false;
    QTest::newRow("no password") << overTcp << QString() << QStringLiteral("A kiszolgáló jelszót kér")
                                 << "no password supplied" << false;
    QTest::newRow("no right to the tables")
        << overTcp << "jó jelszó" << QStringLiteral("A felhasználónak nincs joga") << "permission denied" << false;
    QTest::newRow("turned away by pg_hba.conf")
        << overTcp << "jó jelszó" << QStringLiteral("A kiszolgáló nem engedi be ezt a munkahelyet")
        << "pg_hba.conf rejects connection for host \"127.0.0.1\"" << true;
    QTest::newRow("malformed address") << QStringLiteral("postgresql://szerver") << QString()
                                       << QStringLiteral("Hibás kiszolgáló cím") << QString() << false;
}

void TestEngineBehaviour::connectionFailuresAreExplained()
{
    if (!TestServer::inUse())
        QSKIP("the server's failures: see the server run");
    QFETCH(QString, address);
    QFETCH(QString, password);
    const QString role = QStringLiteral("dromvel_test_%1_role").arg(QCoreApplication::applicationPid());
    TestServer::exec(QStringLiteral("DROP ROLE IF EXISTS %1;").arg(role));
    TestServer::exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'jó jelszó';").arg(role));
    QFETCH(bool, turnedAway);
    if (turnedAway)
        TestServer::turnAway(role);
    if (qEnvironmentVariableIsSet("PGPASSWORD"))
        qunsetenv("PGPASSWORD");
    Engine engine(QStringLiteral("behaviour_failing"));
    engine.setPassword(password);
    const QString database = ServerAddress::parse(m_db.folder)->database;
    try {
        engine.open(address.contains(QLatin1Char('%')) ? address.arg(database) : address);
        engine.exec(QStringLiteral("SELECT COUNT(*) FROM kassza;"));
        QFAIL("no failure");
    } catch (const EngineError &e) {
        QFETCH(QString, explanation);
        QFETCH(QString, serverSays);
        QVERIFY2(e.message().startsWith(explanation), qPrintable(e.message()));
        QVERIFY2(serverSays.isEmpty() ||
                     (e.message().contains(QStringLiteral("\n(")) && e.message().contains(serverSays)),
                 qPrintable(e.message()));
    }
    engine.close();
    TestServer::exec(QStringLiteral("DROP ROLE %1;").arg(role));
}

void TestEngineBehaviour::databaseWithoutHungarianLettersIsRefused()
{
    if (!TestServer::inUse())
        QSKIP("a server database's locale: see the server run");
    const QString address = TestServer::newDatabase(QStringLiteral("C"));
    Engine engine(QStringLiteral("behaviour_c"));
    QVERIFY_THROWS_EXCEPTION(EngineError, engine.open(address));
    QVERIFY(!engine.isOpen());
    TestServer::dropDatabase(address);
}

QTEST_MAIN(TestEngineBehaviour)
#include "test_enginebehaviour.moc"
