#include "engine.h"
#include "masterlookups.h"
#include "query.h"
#include "settingsstore.h"
#include "testdatabase.h"
#include "tillstore.h"
#include "users.h"
#include "voucherrows.h"

#include <QtTest>

// The typed reads and writes the screens make, on a real database file.
class TestStores : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_db.fresh(QStringLiteral("stores")); }
    void cleanup() { m_db.close(); }

    void tills();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void users();
    void lookups();
    void pendingGuards();

private:
    QVariant scalar(const QString &sql) { return Query(*m_db.engine, sql).firstValue(); }

    TestDatabase m_db;
};

void TestStores::tills()
{
    Engine &engine = *m_db.engine;
    const int closed =
        int(engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Fő")},
                                                     {QStringLiteral("valuta"), QStringLiteral("EUR")},
                                                     {QStringLiteral("betujel_be"), QStringLiteral("AB")},
                                                     {QStringLiteral("betujel_ki"), QStringLiteral("AK")},
                                                     {QStringLiteral("lezarva"), QDate(2026, 3, 31)}}));
    const int bare =
        int(engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Üres")}}));

    QCOMPARE(TillClosedUntil(engine, closed), QDate(2026, 3, 31));
    QVERIFY(!TillClosedUntil(engine, bare).isValid());
    QVERIFY(!TillClosedUntil(engine, 99).isValid());
    QCOMPARE(TillLetterCode(engine, closed, false), QStringLiteral("AB"));
    QCOMPARE(TillLetterCode(engine, closed, true), QStringLiteral("AK"));
    QCOMPARE(TillLetterCode(engine, bare, true), QString());
    QCOMPARE(TillCurrency(engine, closed), QStringLiteral("EUR"));
    QCOMPARE(TillCurrency(engine, 99), QString());
    QCOMPARE(TillIds(engine), (QList<int>{closed, bare}));

    StoreBalance(engine, bare, 1234.5);
    QCOMPARE(scalar(QStringLiteral("SELECT most FROM kassza WHERE kassza=%1;").arg(bare)).toDouble(), 1234.5);
    QVERIFY(scalar(QStringLiteral("SELECT most FROM kassza WHERE kassza=%1;").arg(closed)).isNull());
}

void TestStores::settingsRoundTrip_data()
{
    QTest::addColumn<bool>("rowsExist");
    QTest::addColumn<QString>("ownerName");
    QTest::addColumn<int>("ownerRows");
    QTest::newRow("rows of a new database") << true << "Minta Kft." << 1;
    QTest::newRow("rows missing, owner typed") << false << "Minta Kft." << 1;
    // Nothing typed for the owner: no empty row is made up.
    QTest::newRow("rows missing, owner left empty") << false << "" << 0;
}

void TestStores::settingsRoundTrip()
{
    QFETCH(bool, rowsExist);
    QFETCH(QString, ownerName);
    QFETCH(int, ownerRows);
    Engine &engine = *m_db.engine;
    if (!rowsExist) {
        engine.exec(QStringLiteral("DELETE FROM beallit;"));
        engine.exec(QStringLiteral("DELETE FROM tulajdonos;"));
    }
    SettingsRow settings = ReadSettings(engine);
    OwnerRow owner = ReadOwner(engine);
    QCOMPARE(settings.rowId.isNull(), !rowsExist);
    QCOMPARE(owner.rowId.isNull(), !rowsExist);

    settings.vanBelep = true;
    settings.metodus = 7; // a stored value outside the choices is kept as it is
    settings.formatFt = QStringLiteral("# ##0.00");
    owner.fields = {{QStringLiteral("tulajdonos"), ownerName}, {QStringLiteral("varos"), QString()}};
    SaveSettings(engine, settings, owner, QStringLiteral("admin"));

    const SettingsRow again = ReadSettings(engine);
    QVERIFY(!again.rowId.isNull());
    QCOMPARE(again.rowId, settings.rowId);
    QVERIFY(again.vanBelep);
    QVERIFY(!again.autoNyomtat);
    QCOMPARE(again.metodus.toInt(), 7);
    QCOMPARE(again.formatFt, QStringLiteral("# ##0.00"));
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM beallit;")).toInt(), 1);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM tulajdonos;")).toInt(), ownerRows);
    QCOMPARE(OwnerName(engine), ownerName);
    QCOMPARE(ReadOwner(engine).rowId.isNull(), ownerRows == 0);
}

void TestStores::users()
{
    Engine &engine = *m_db.engine;
    UserRecord bori;
    bori.code = QStringLiteral("bori");
    bori.name = QStringLiteral("Kiss Borbála");
    bori.password = QStringLiteral("titok");
    bori.admin = true;
    const QVariant boriId = SaveUser(engine, bori, QStringLiteral("admin"));
    UserRecord adam = bori;
    adam.rowId = QVariant();
    adam.code = QStringLiteral("Ádám");
    adam.admin = false;
    adam.masterEdit = true;
    SaveUser(engine, adam, QStringLiteral("admin"));

    QStringList listed;
    for (const UserRecord &user : ListUsers(engine))
        listed << QStringLiteral("%1 %2%3").arg(user.code).arg(user.admin).arg(user.masterEdit);
    QCOMPARE(listed, (QStringList{QStringLiteral("bori 10"), QStringLiteral("Ádám 01")}));

    // A taken code is refused and changes nothing.
    UserRecord twin = bori;
    twin.rowId = QVariant();
    QVERIFY_THROWS_EXCEPTION(EngineError, SaveUser(engine, twin, QStringLiteral("admin")));
    QCOMPARE(ListUsers(engine).size(), 2);

    QVERIFY(FindUser(engine, QStringLiteral("bori"), QStringLiteral("titok")));
    QVERIFY(!FindUser(engine, QStringLiteral("Bori"), QStringLiteral("titok")));
    QVERIFY(StorePassword(engine, QStringLiteral("bori"), QStringLiteral("új")));
    QVERIFY(FindUser(engine, QStringLiteral("bori"), QStringLiteral("új")));
    QVERIFY(!FindUser(engine, QStringLiteral("bori"), QStringLiteral("titok")));
    // Reads never carry the stored password out of the data layer.
    QVERIFY(ReadUser(engine, boriId)->password.isEmpty() && ReadUser(engine, boriId)->hasPassword);
    QVERIFY(!StorePassword(engine, QStringLiteral("nincs"), QStringLiteral("x")));

    DeleteUser(engine, boriId, QStringLiteral("admin"));
    QVERIFY(!ReadUser(engine, boriId));
    QVERIFY(!FindUser(engine, QStringLiteral("bori"), QStringLiteral("új")));
}

void TestStores::lookups()
{
    Engine &engine = *m_db.engine;
    QCOMPARE(DirectionName(engine, QStringLiteral("K")), QStringLiteral("Kiadási pénztárbizonylat"));
    QCOMPARE(DirectionName(engine, QStringLiteral("X")), QString());
    // A quote in a looked-up value is only a value.
    QCOMPARE(DirectionName(engine, QStringLiteral("' OR 1=1 --")), QString());

    const int type =
        int(engine.insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QStringLiteral("Posta")},
                                                        {QStringLiteral("kibe"), QStringLiteral("K")},
                                                        {QStringLiteral("elszamolas"), QStringLiteral("N")}}));
    QCOMPARE(MovementTypeName(engine, type), QStringLiteral("Posta"));
    QCOMPARE(MovementTypeName(engine, type + 1), QString());
    QCOMPARE(MovementTypes(engine).size(), 1);
    QCOMPARE(MovementTypes(engine).first().kibe, QStringLiteral("K"));

    engine.insert(QStringLiteral("irsz"), {{QStringLiteral("id"), 1},
                                           {QStringLiteral("irsz"), QStringLiteral("6720")},
                                           {QStringLiteral("varos"), QStringLiteral("Szeged")}});
    QCOMPARE(TownOfPostcode(engine, QStringLiteral("6720")), QStringLiteral("Szeged"));
    QCOMPARE(TownOfPostcode(engine, QStringLiteral("1111")), QString());

    // Units in name order without regard to case.
    for (const auto &[key, name] : {std::pair{1, "cégvezetés"}, {2, "Beszerzés"}, {3, "anyaggazdálkodás"}})
        engine.insert(QStringLiteral("szervegyseg"), {{QStringLiteral("szervegyseg"), key},
                                                      {QStringLiteral("szervegyseg_nev"), QString::fromUtf8(name)}});
    QStringList units;
    for (const NamedKey &unit : OrganisationalUnits(engine))
        units << unit.name;
    QCOMPARE(units, (QStringList{QStringLiteral("anyaggazdálkodás"), QStringLiteral("Beszerzés"),
                                 QStringLiteral("cégvezetés")}));

    engine.insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Szabó Anna")},
                                             {QStringLiteral("elszamol"), 5},
                                             {QStringLiteral("elszamollimit"), 1000.0}});
    engine.insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kovács Péter")}});
    const QList<ClientRecord> clients = Clients(engine);
    QCOMPARE(clients.size(), 2);
    QCOMPARE(clients.at(0).name, QStringLiteral("Kovács Péter"));
    QCOMPARE(clients.at(0).days, 0);
    QCOMPARE(clients.at(1).days, 5);
    QCOMPARE(clients.at(1).limit, 1000.0);
}

void TestStores::pendingGuards()
{
    Engine &engine = *m_db.engine;
    const int pending = InsertVoucherRow(engine, {{QStringLiteral("dromvel"), 777},
                                                  {QStringLiteral("kiadva"), QStringLiteral("N")},
                                                  {QStringLiteral("osszeg"), 10.0}});
    const int booked =
        InsertVoucherRow(engine, {{QStringLiteral("kiadva"), QStringLiteral("I")}, {QStringLiteral("osszeg"), 20.0}});
    // The key is the table's own, never the one a caller carried along.
    QVERIFY(pending != 777);
    QCOMPARE(ReadVoucherRow(engine, pending).value(QStringLiteral("osszeg")).toDouble(), 10.0);
    QVERIFY(ReadVoucherRow(engine, 9999).isEmpty());

    QCOMPARE(UpdatePendingRow(engine, pending, {{QStringLiteral("osszeg"), 11.0}}), 1);
    QCOMPARE(UpdatePendingRow(engine, booked, {{QStringLiteral("osszeg"), 21.0}}), 0);
    QCOMPARE(ReadVoucherRow(engine, booked).value(QStringLiteral("osszeg")).toDouble(), 20.0);
    QCOMPARE(DeletePendingRow(engine, booked), 0);
    QVERIFY(!ReadVoucherRow(engine, booked).isEmpty());
    QCOMPARE(DeletePendingRow(engine, pending), 1);
    QVERIFY(ReadVoucherRow(engine, pending).isEmpty());

    const int opening = InsertVoucherRow(engine, {{QStringLiteral("kibe"), QStringLiteral("N")}});
    DateOpeningRows(engine, QDate(2026, 2, 3));
    const QVariantMap row = ReadVoucherRow(engine, opening);
    QCOMPARE(row.value(QStringLiteral("dat_kiadva")).toDate(), QDate(2026, 2, 3));
    QCOMPARE(row.value(QStringLiteral("idoszak")).toString(), QStringLiteral("202602"));
    QCOMPARE(row.value(QStringLiteral("datumstr")).toString(), QStringLiteral("20260203"));
    QVERIFY(ReadVoucherRow(engine, booked).value(QStringLiteral("dat_kiadva")).isNull());
}

QTEST_GUILESS_MAIN(TestStores)
#include "test_stores.moc"
