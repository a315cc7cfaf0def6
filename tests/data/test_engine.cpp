#include "engine.h"
#include "query.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void newDatabaseHasEveryTableAndField_data();
    void newDatabaseHasEveryTableAndField();
    void newDatabaseHasNamedIndexesAndStartingRows();
    void reopeningKeepsRows();
    void fileThatIsNotADatabaseIsRefusedUntouched();
    void emptyFileGetsTheSchema_data();
    void emptyFileGetsTheSchema();
    void bookedNumbersAreUnique_data();
    void bookedNumbersAreUnique();
    void olderDatabaseGetsTheUniqueIndexes();
    void olderDatabaseWithDuplicatesSaysWhichAndWorksOn();
    void missingFolderIsRefused();
    void writesCutTextsAndStoreEmptyAsNull();
    void datesComeBackAsDates();
    void upperAndOrderKnowHungarianLetters();
    void transactionThatThrowsLeavesNothing();
    void nestedTransactionRollsBackOnlyItsPart();
    void orderingNeedsAnIndex();
    void indexesCanBeDroppedAndRebuilt();
    void badSqlCarriesTheEngineMessage();
    void lockedDatabaseSaysSoInHungarian();
    void serverRefusalsAreExplained_data();
    void serverRefusalsAreExplained();

private:
    static qint64 row(Engine &engine, const char *kiadva, QVariant dromvelid, QVariant betujel, QVariant ssz)
    {
        return engine.insert(QStringLiteral("dromvel"), {{QStringLiteral("kiadva"), QString::fromLatin1(kiadva)},
                                                         {QStringLiteral("dromvelid"), dromvelid},
                                                         {QStringLiteral("betujel"), betujel},
                                                         {QStringLiteral("ssz"), ssz}});
    }
    static const QStringList &uniqueIndexes()
    {
        static const QStringList names{QStringLiteral("ix_dromvel_booked_id"),
                                       QStringLiteral("ix_dromvel_booked_number")};
        return names;
    }
    // A database as it was before the unique indexes.
    QString olderDatabase(const std::function<void(Engine &)> &fill)
    {
        const QString folder = freshFolder();
        Engine engine(QStringLiteral("t_older"));
        engine.open(folder);
        for (const QString &name : uniqueIndexes())
            engine.exec(QStringLiteral("DROP INDEX %1;").arg(name));
        fill(engine);
        return folder;
    }

    QTemporaryDir m_dir;
    int m_count = 0;
    QString freshFolder()
    {
        const QString path = m_dir.filePath(QString::number(++m_count));
        QDir().mkpath(path);
        return path;
    }
};

void TestEngine::newDatabaseHasEveryTableAndField_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("dromvel") << "dromvel"
                             << QStringList{"dromvel",
                                            "dromvelid",
                                            "kibe",
                                            "ssz",
                                            "betujel",
                                            "kassza",
                                            "dat_kiadva",
                                            "kiadva",
                                            "idoszak",
                                            "kasszatip",
                                            "nyito",
                                            "osszeg",
                                            "zaro",
                                            "szoveg",
                                            "ugyfel",
                                            "bevetel",
                                            "kiadas",
                                            "elszamol_kell",
                                            "elszamol_ssz",
                                            "elszamol_kell_dat",
                                            "elszamolva",
                                            "elszamol_dat",
                                            "elszamol_biz",
                                            "forgjogcim1",
                                            "bizszam1",
                                            "szoveg1",
                                            "osszeg1",
                                            "forgjogcim2",
                                            "bizszam2",
                                            "szoveg2",
                                            "osszeg2",
                                            "forgjogcim3",
                                            "bizszam3",
                                            "szoveg3",
                                            "osszeg3",
                                            "felhasznalo",
                                            "elszamol_tenyl_osszeg",
                                            "elszamol_bevet_penztarbiz",
                                            "datumstr",
                                            "zarbizonylat",
                                            "lezarva"};
    QTest::newRow("kassza") << "kassza"
                            << QStringList{"kassza", "kassza_nev", "valuta", "betujel_be", "betujel_ki", "torolve",
                                           "nyito",  "lezarva",    "zaro",   "most",       "zaro_max"};
    QTest::newRow("kasszatip") << "kasszatip"
                               << QStringList{"kasszatip", "kasszatip_nev", "szorzo", "kibe", "elszamolas"};
    QTest::newRow("kibe") << "kibe" << QStringList{"kibe", "kibe_nev", "nev"};
    QTest::newRow("ugyfel") << "ugyfel" << QStringList{"ugyfel",    "ugyfel_nev",  "kapcsolat",    "telefon",
                                                       "fax",       "mobil",       "emil",         "cim_irsz",
                                                       "cim_varos", "cim_cim",     "bankszamla",   "szigszam",
                                                       "elszamol",  "szervegyseg", "elszamolasra", "elszamollimit"};
    QTest::newRow("irsz") << "irsz" << QStringList{"id", "irsz", "varos"};
    QTest::newRow("szervegyseg") << "szervegyseg" << QStringList{"szervegyseg", "szervegyseg_nev"};
    QTest::newRow("felhasznalo") << "felhasznalo"
                                 << QStringList{"felhasznalo", "felhasznalo_nev", "jelszo", "rendszergazda",
                                                "torzsszerkeszt"};
    QTest::newRow("beallit") << "beallit" << QStringList{"beallit", "vanbelep", "autonyomtat",
                                                         "metodus", "formatft", "kpfizetes_havi"};
    QTest::newRow("zarbizonylat") << "zarbizonylat" << QStringList{"zarbizonylat", "kassza", "dat_tol", "dat_ig",
                                                                   "nyito",        "zaro",   "zaro_max"};
    QTest::newRow("penztarellenorzes") << "penztarellenorzes"
                                       << QStringList{
                                              "penztarellenorzes", "zarbizonylat", "sor", "cimlet", "db", "osszeg"};
    QTest::newRow("tulajdonos") << "tulajdonos"
                                << QStringList{"tulajdonos", "telefon", "mobil",   "fax",           "irsz",
                                               "varos",      "cim",     "adoszam", "bankszamlaszam"};
    QTest::newRow("naplo") << "naplo" << QStringList{"naplo",   "idopont", "munkaallomas", "felhasznalo",
                                                     "esemeny", "kassza",  "sorkulcs",     "szoveg"};
}

void TestEngine::newDatabaseHasEveryTableAndField()
{
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    Engine engine(QStringLiteral("t_fields"));
    engine.open(freshFolder());
    QCOMPARE(engine.tables().size(), Schema::Tables().size());
    QCOMPARE(engine.fieldNames(table), fields);
}

void TestEngine::newDatabaseHasNamedIndexesAndStartingRows()
{
    Engine engine(QStringLiteral("t_new"));
    const QString folder = freshFolder();
    engine.open(folder);
    QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("dromvel.sqlite"))));

    const QStringList dromvel = engine.indexNames(QStringLiteral("dromvel"));
    for (const char *name : {"idx_idoszak", "idx_elszamol_kell_dat", "idx_zaro", "idx_osszeg", "idx_nyito",
                             "idx_kasszatip", "idx_dat_kiadva", "idx_dromvelid"})
        QVERIFY2(dromvel.contains(QString::fromLatin1(name)), name);
    QVERIFY(engine.indexNames(QStringLiteral("kassza")).contains(QStringLiteral("idx_kassza_nev")));
    QVERIFY(engine.indexNames(QStringLiteral("kasszatip")).contains(QStringLiteral("idx_kasszatip_nev")));
    const QStringList ugyfel = engine.indexNames(QStringLiteral("ugyfel"));
    for (const char *name : {"idx_ugyfel_nev", "idx_cim_varos", "idx_cim_irsz", "idx_cim_cim", "idx_telefon",
                             "idx_kapcsolat", "idx_elszamolasra", "idx_elszamollimit"})
        QVERIFY2(ugyfel.contains(QString::fromLatin1(name)), name);

    Query kibe(engine, QStringLiteral("SELECT kibe, kibe_nev, nev FROM kibe ORDER BY kibe;"));
    kibe.open();
    QStringList rows;
    while (kibe.next())
        rows.append(QStringList{kibe.value(0).toString(), kibe.value(1).toString(), kibe.value(2).toString()}.join(
            QLatin1Char('|')));
    QCOMPARE(rows, (QStringList{QStringLiteral("B|Bevételi pénztárbizonylat|bevétel"),
                                QStringLiteral("K|Kiadási pénztárbizonylat|kiadás"),
                                QStringLiteral("N|Nyitó pénzkészlet|nyitó")}));

    Query beallit(engine, QStringLiteral("SELECT vanbelep, metodus, formatft FROM beallit;"));
    beallit.open();
    QVERIFY(beallit.next());
    QCOMPARE(beallit.value(QStringLiteral("vanbelep")).toString(), QStringLiteral("N"));
    QCOMPARE(beallit.value(QStringLiteral("metodus")).toInt(), 0);
    QCOMPARE(beallit.value(QStringLiteral("formatft")).toString(), QStringLiteral("### ### ##0"));
    QVERIFY(!beallit.next());

    Query owner(engine, QStringLiteral("SELECT COUNT(*) FROM tulajdonos;"));
    owner.open();
    QVERIFY(owner.next());
    QCOMPARE(owner.value(0).toInt(), 1);
}

void TestEngine::reopeningKeepsRows()
{
    const QString folder = freshFolder();
    {
        Engine engine(QStringLiteral("t_reopen"));
        engine.open(folder);
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}});
    }
    Engine engine(QStringLiteral("t_reopen"));
    engine.open(folder);
    Query q(engine, QStringLiteral("SELECT kassza_nev FROM kassza;"));
    q.open();
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Főpénztár"));
    Query kibe(engine, QStringLiteral("SELECT COUNT(*) FROM kibe;"));
    kibe.open();
    QVERIFY(kibe.next());
    QCOMPARE(kibe.value(0).toInt(), 3); // starting rows are not written twice
}

void TestEngine::fileThatIsNotADatabaseIsRefusedUntouched()
{
    const QString folder = freshFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("dromvel.sqlite"));
    QByteArray junk(4096, 'x');
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    Engine engine(QStringLiteral("t_junk"));
    try {
        engine.open(folder);
        QFAIL("a file that is not a database was opened");
    } catch (const EngineError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("not a database")), qPrintable(e.message()));
        QVERIFY2(e.message().startsWith(QStringLiteral("A fájl nem a program adatbázisa.")), qPrintable(e.message()));
    }
    QVERIFY(!engine.isOpen());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("dromvel.sqlite")});
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), junk);
}

void TestEngine::emptyFileGetsTheSchema_data()
{
    QTest::addColumn<QStringList>("companions"); // empty files beside the database file
    QTest::newRow("alone") << QStringList();
    QTest::newRow("with empty -wal and -shm") << QStringList{QStringLiteral("-wal"), QStringLiteral("-shm")};
}

void TestEngine::emptyFileGetsTheSchema()
{
    QFETCH(QStringList, companions);
    const QString folder = freshFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("dromvel.sqlite"));
    for (const QString &suffix : QStringList{QString()} + companions) {
        QFile f(path + suffix);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    Engine engine(QStringLiteral("t_empty"));
    engine.open(folder);
    QCOMPARE(engine.tables().size(), Schema::Tables().size());
    Query kibe(engine, QStringLiteral("SELECT COUNT(*) FROM kibe;"));
    QCOMPARE(kibe.firstValue().toInt(), 3);
    QVERIFY(QFileInfo(path).size() > 0);
    QCOMPARE(QDir(folder).entryList({QStringLiteral("*.new")}, QDir::Files), QStringList());
}

void TestEngine::bookedNumbersAreUnique_data()
{
    // A second row with the same numbers as a booked KB00012 with booking number 7.
    QTest::addColumn<QString>("kiadva");
    QTest::addColumn<QVariant>("dromvelid");
    QTest::addColumn<QVariant>("betujel");
    QTest::addColumn<QVariant>("ssz");
    QTest::addColumn<bool>("refused");
    QTest::newRow("booking number again") << "I" << QVariant(7) << QVariant("KP") << QVariant(1) << true;
    QTest::newRow("voucher number again") << "I" << QVariant(8) << QVariant("KB") << QVariant(12) << true;
    QTest::newRow("same serial, other code") << "I" << QVariant(8) << QVariant("KP") << QVariant(12) << false;
    // A pending voucher may carry the numbers it is going to get; opening rows carry no code nor serial.
    QTest::newRow("pending") << "N" << QVariant(7) << QVariant("KB") << QVariant(12) << false;
    QTest::newRow("opening row") << "I" << QVariant(8) << QVariant() << QVariant() << false;
}

void TestEngine::bookedNumbersAreUnique()
{
    QFETCH(QString, kiadva);
    QFETCH(QVariant, dromvelid);
    QFETCH(QVariant, betujel);
    QFETCH(QVariant, ssz);
    QFETCH(bool, refused);
    Engine engine(QStringLiteral("t_unique"));
    engine.open(freshFolder());
    for (const QString &name : uniqueIndexes())
        QVERIFY2(engine.indexNames(QStringLiteral("dromvel")).contains(name), qPrintable(name));
    row(engine, "I", 7, QStringLiteral("KB"), 12);
    row(engine, "I", 6, QVariant(), QVariant());
    bool thrown = false;
    try {
        row(engine, kiadva.toLatin1().constData(), dromvelid, betujel, ssz);
    } catch (const EngineError &) {
        thrown = true;
    }
    QCOMPARE(thrown, refused);
}

void TestEngine::olderDatabaseGetsTheUniqueIndexes()
{
    const QString folder = olderDatabase([](Engine &engine) {
        row(engine, "I", 1, QStringLiteral("KB"), 1);
        row(engine, "N", 1, QStringLiteral("KB"), 1);
    });
    Engine engine(QStringLiteral("t_upgrade"));
    {
        // Another workstation (an older program) writing: the index waits for a later open, the database opens
        // all the same.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("t_upgrade_other"));
        other.setDatabaseName(QDir(folder).filePath(QStringLiteral("dromvel.sqlite")));
        QVERIFY(other.open());
        QSqlQuery writing(other);
        QVERIFY(writing.exec(QStringLiteral("BEGIN IMMEDIATE;")));
        engine.open(folder);
        QVERIFY(!engine.indexNames(QStringLiteral("dromvel")).contains(uniqueIndexes().first()));
        QVERIFY(engine.indexWarnings().isEmpty());
        QVERIFY(writing.exec(QStringLiteral("ROLLBACK;")));
        writing.clear();
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("t_upgrade_other"));
    engine.open(folder);
    for (const QString &name : uniqueIndexes())
        QVERIFY2(engine.indexNames(QStringLiteral("dromvel")).contains(name), qPrintable(name));
    QVERIFY(engine.indexWarnings().isEmpty());
    QVERIFY_THROWS_EXCEPTION(EngineError, row(engine, "I", 1, QStringLiteral("KP"), 5));
}

void TestEngine::olderDatabaseWithDuplicatesSaysWhichAndWorksOn()
{
    const QString folder = olderDatabase([](Engine &engine) {
        row(engine, "I", 17, QStringLiteral("KB"), 12);
        row(engine, "I", 17, QStringLiteral("KB"), 13);
        row(engine, "I", 18, QStringLiteral("KB"), 13);
        row(engine, "I", 19, QStringLiteral("KP"), 12);
        row(engine, "N", 19, QStringLiteral("KP"), 12);
    });
    Engine engine(QStringLiteral("t_dup"));
    engine.open(folder);
    const QStringList warnings = engine.indexWarnings();
    QCOMPARE(warnings.size(), 2);
    QVERIFY2(warnings.at(0).startsWith(QStringLiteral("Az adatbázis könyvelt sorai között ismétlődő könyvelési "
                                                      "sorszámok (dromvelid) vannak: 17.\n")),
             qPrintable(warnings.at(0)));
    QVERIFY2(warnings.at(1).contains(QStringLiteral("bizonylatszámok (betujel, ssz) vannak: KB 13.")),
             qPrintable(warnings.at(1)));
    QCOMPARE(engine.indexNames(QStringLiteral("dromvel")).filter(QStringLiteral("ix_dromvel_booked")), QStringList());
    row(engine, "I", 20, QStringLiteral("KB"), 14);

    // Rebuilding the indexes leaves out the ones the rows do not allow and builds the rest.
    Transaction rebuild(engine);
    engine.dropIndexes(QStringLiteral("dromvel"));
    engine.createSecondaryIndexes(QStringLiteral("dromvel"));
    rebuild.commit();
    QCOMPARE(engine.indexWarnings().size(), 4);
    QVERIFY(engine.indexNames(QStringLiteral("dromvel")).contains(QStringLiteral("idx_dromvelid")));
    QVERIFY(engine.indexNames(QStringLiteral("dromvel")).contains(QStringLiteral("ix_dromvel_unclosed")));
}

void TestEngine::missingFolderIsRefused()
{
    Engine engine(QStringLiteral("t_missing"));
    const QString folder = m_dir.filePath(QStringLiteral("nincs"));
    QVERIFY_THROWS_EXCEPTION(EngineError, engine.open(folder));
    QVERIFY(!QFileInfo::exists(folder));
}

void TestEngine::writesCutTextsAndStoreEmptyAsNull()
{
    Engine engine(QStringLiteral("t_cut"));
    engine.open(freshFolder());
    const qint64 id = engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QString(40, QChar(u'ő'))},
                                                               {QStringLiteral("valuta"), QString()},
                                                               {QStringLiteral("betujel_be"), QStringLiteral("KBX")}});
    Query q(engine, QStringLiteral("SELECT kassza_nev, valuta, betujel_be FROM kassza WHERE kassza=:k;"));
    q.setInt(QStringLiteral("k"), id).open();
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QString(25, QChar(u'ő')));
    QVERIFY(q.value(1).isNull());
    QCOMPARE(q.value(2).toString(), QStringLiteral("KB"));
    q.close();

    QCOMPARE(engine.update(QStringLiteral("kassza"), QStringLiteral("kassza"), id,
                           {{QStringLiteral("kassza_nev"), QString()}}),
             1);
    Query again(engine, QStringLiteral("SELECT COUNT(*) FROM kassza WHERE kassza_nev IS NULL;"));
    again.open();
    QVERIFY(again.next());
    QCOMPARE(again.value(0).toInt(), 1);

    QVERIFY_THROWS_EXCEPTION(EngineError,
                             engine.insert(QStringLiteral("kassza"), {{QStringLiteral("nincs_ilyen"), 1}}));
}

void TestEngine::datesComeBackAsDates()
{
    Engine engine(QStringLiteral("t_dates"));
    engine.open(freshFolder());
    engine.insert(QStringLiteral("dromvel"), {{QStringLiteral("dat_kiadva"), QDate(2009, 3, 2)},
                                              {QStringLiteral("lezarva"), QStringLiteral("N")}});
    Query q(engine, QStringLiteral("SELECT dat_kiadva, lezarva FROM dromvel WHERE dat_kiadva = :d;"));
    q.setDate(QStringLiteral("d"), QDate(2009, 3, 2)).open();
    QVERIFY(q.next());
    QCOMPARE(q.value(QStringLiteral("dat_kiadva")).toDate(), QDate(2009, 3, 2));
    QCOMPARE(q.value(QStringLiteral("lezarva")).toString(), QStringLiteral("N"));
}

void TestEngine::upperAndOrderKnowHungarianLetters()
{
    Engine engine(QStringLiteral("t_upper"));
    engine.open(freshFolder());
    Query q(engine, QStringLiteral("SELECT UPPER('árvíztűrő tükörfúrógép');"));
    q.open();
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP"));

    engine.insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Őrző Ödön")}});
    Query like(engine, QStringLiteral("SELECT COUNT(*) FROM ugyfel WHERE UPPER(ugyfel_nev) LIKE 'ŐRZŐ%';"));
    like.open();
    QVERIFY(like.next());
    QCOMPARE(like.value(0).toInt(), 1);

    for (const char *name : {"Zoltán", "ábel", "Béla", "Ádám", "abc"})
        engine.insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QString::fromUtf8(name)}});
    Query order(engine,
                QStringLiteral("SELECT ugyfel_nev FROM ugyfel WHERE ugyfel > 1 ORDER BY ugyfel_nev COLLATE HU;"));
    order.open();
    QStringList names;
    while (order.next())
        names.append(order.value(0).toString());
    // Long and short vowels weigh alike in Hungarian order: "ábel" comes before "Ádám" as "abel" before "adam".
    QCOMPARE(names, (QStringList{QStringLiteral("abc"), QStringLiteral("ábel"), QStringLiteral("Ádám"),
                                 QStringLiteral("Béla"), QStringLiteral("Zoltán")}));
}

void TestEngine::transactionThatThrowsLeavesNothing()
{
    Engine engine(QStringLiteral("t_tx"));
    engine.open(freshFolder());
    try {
        Transaction t(engine);
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("A")}});
        engine.exec(QStringLiteral("UPDATE beallit SET metodus = 2;"));
        engine.exec(QStringLiteral("INSERT INTO nincs_ilyen_tabla VALUES (1);"));
        t.commit();
        QFAIL("the failing statement did not throw");
    } catch (const EngineError &) {
    }
    QCOMPARE(engine.transactionDepth(), 0);
    Query q(engine, QStringLiteral("SELECT (SELECT COUNT(*) FROM kassza), (SELECT metodus FROM beallit);"));
    q.open();
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    QCOMPARE(q.value(1).toInt(), 0);
}

void TestEngine::nestedTransactionRollsBackOnlyItsPart()
{
    Engine engine(QStringLiteral("t_nested"));
    engine.open(freshFolder());
    {
        Transaction outer(engine);
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("marad")}});
        {
            Transaction inner(engine);
            engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("eltűnik")}});
        }
        outer.commit();
    }
    Query q(engine, QStringLiteral("SELECT kassza_nev FROM kassza;"));
    q.open();
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("marad"));
    QVERIFY(!q.next());
}

void TestEngine::orderingNeedsAnIndex()
{
    Engine engine(QStringLiteral("t_order"));
    engine.open(freshFolder());
    QCOMPARE(engine.orderClause(QStringLiteral("ugyfel"), {QStringLiteral("ugyfel_nev")}),
             QStringLiteral("ugyfel_nev"));
    QCOMPARE(engine.orderClause(QStringLiteral("ugyfel"), {QStringLiteral("ugyfel")}), QStringLiteral("ugyfel"));
    QCOMPARE(engine.orderClause(QStringLiteral("kibe"), {QStringLiteral("kibe")}), QStringLiteral("kibe"));
    QVERIFY_THROWS_EXCEPTION(EngineError, engine.orderClause(QStringLiteral("ugyfel"), {QStringLiteral("fax")}));
    QVERIFY_THROWS_EXCEPTION(EngineError, engine.orderClause(QStringLiteral("nincs"), {QStringLiteral("x")}));
}

void TestEngine::indexesCanBeDroppedAndRebuilt()
{
    Engine engine(QStringLiteral("t_index"));
    engine.open(freshFolder());
    const QStringList before = engine.indexNames(QStringLiteral("ugyfel"));
    engine.dropIndexes(QStringLiteral("ugyfel"));
    QVERIFY(engine.indexNames(QStringLiteral("ugyfel")).isEmpty());
    QVERIFY_THROWS_EXCEPTION(EngineError, engine.orderClause(QStringLiteral("ugyfel"), {QStringLiteral("cim_varos")}));
    engine.createPrimaryIndex(QStringLiteral("ugyfel"));
    engine.createSecondaryIndexes(QStringLiteral("ugyfel"));
    QCOMPARE(engine.indexNames(QStringLiteral("ugyfel")), before);

    // A text key has an index of its own standing for the primary index.
    engine.dropIndexes(QStringLiteral("felhasznalo"));
    engine.createPrimaryIndex(QStringLiteral("felhasznalo"));
    QCOMPARE(engine.indexNames(QStringLiteral("felhasznalo")), QStringList{QStringLiteral("pk_felhasznalo")});
    engine.insert(QStringLiteral("felhasznalo"), {{QStringLiteral("felhasznalo"), QStringLiteral("anna")}});
    QVERIFY_THROWS_EXCEPTION(EngineError, engine.insert(QStringLiteral("felhasznalo"),
                                                        {{QStringLiteral("felhasznalo"), QStringLiteral("anna")}}));

    engine.exec(QStringLiteral("DROP TABLE szervegyseg;"));
    QVERIFY_THROWS_EXCEPTION(EngineError, engine.dropIndexes(QStringLiteral("szervegyseg")));
}

void TestEngine::badSqlCarriesTheEngineMessage()
{
    Engine engine(QStringLiteral("t_bad"));
    engine.open(freshFolder());
    try {
        engine.exec(QStringLiteral("SELECT nincs FROM kassza;"));
        QFAIL("no error");
    } catch (const EngineError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("no such column")), qPrintable(e.message()));
    }
}

void TestEngine::lockedDatabaseSaysSoInHungarian()
{
    const QString folder = freshFolder();
    Engine holder(QStringLiteral("t_lock_holder"));
    holder.open(folder);
    Engine waiter(QStringLiteral("t_lock_waiter"));
    waiter.open(folder);
    Transaction writing(holder);
    holder.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("A")}});
    try {
        // Waits the busy timeout for the other workstation, then gives up with nothing written.
        Transaction t(waiter);
        QFAIL("the write lock was taken twice");
    } catch (const EngineError &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Az adatbázist most egy másik munkahely írja.")),
                 qPrintable(e.message()));
    }
    QCOMPARE(waiter.transactionDepth(), 0);
}

void TestEngine::serverRefusalsAreExplained_data()
{
    // libpq's words as a workstation gets them; most of them cannot be brought about on the tests' own server.
    QTest::addColumn<QString>("libpq");
    QTest::addColumn<QString>("explanation");
    QTest::newRow("no access line")
        << QStringLiteral(
               "connection to server at \"127.0.0.1\", port 5433 failed: FATAL:  no pg_hba.conf entry for host "
               "\"127.0.0.1\", user \"penztar\", database \"penztar\", SSL encryption")
        << QStringLiteral("A kiszolgáló nem engedi be ezt a munkahelyet");
    QTest::newRow("access line rejects")
        << QStringLiteral(
               "connection to server at \"192.168.1.10\", port 5432 failed: FATAL:  pg_hba.conf rejects connection for "
               "host \"192.168.1.23\", user \"penztar\", database \"penztar\", no encryption")
        << QStringLiteral("A kiszolgáló nem engedi be ezt a munkahelyet");
    QTest::newRow("nobody listens") << QStringLiteral("connection to server at \"192.168.1.10\", port 5432 failed: "
                                                      "Connection refused\n\tIs the server running on "
                                                      "that host and accepting TCP/IP connections?")
                                    << QStringLiteral("Az adatbázis-kiszolgáló nem érhető el.");
    QTest::newRow("unknown host")
        << QStringLiteral("could not translate host name \"pénztárgép\" to address: Name or service not known")
        << QStringLiteral("Az adatbázis-kiszolgáló nem érhető el.");
    QTest::newRow("no password")
        << QStringLiteral("connection to server at \"127.0.0.1\", port 5433 failed: fe_sendauth: no password supplied")
        << QStringLiteral("A kiszolgáló jelszót kér");
    QTest::newRow("wrong password")
        << QStringLiteral(
               "connection to server at \"127.0.0.1\", port 5433 failed: FATAL:  password authentication failed for "
               "user \"penztar\"")
        << QStringLiteral("A kiszolgáló nem fogadta el");
    QTest::newRow("database missing")
        << QStringLiteral(
               "connection to server at \"127.0.0.1\", port 5433 failed: FATAL:  database \"penztar\" does not exist")
        << QStringLiteral("Az adatbázis nem létezik a kiszolgálón.");
}

void TestEngine::serverRefusalsAreExplained()
{
    QFETCH(QString, libpq);
    QFETCH(QString, explanation);
    const QString message =
        EngineError::fromServerConnection(QSqlError(QString(), libpq, QSqlError::ConnectionError)).message();
    QVERIFY2(message.startsWith(explanation), qPrintable(message));
    // Whoever looks into it still reads the server's own words.
    QVERIFY2(message.contains(libpq), qPrintable(message));
}

QTEST_GUILESS_MAIN(TestEngine)
#include "test_engine.moc"
