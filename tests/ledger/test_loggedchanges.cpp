#include "advancesettlement.h"
#include "databasefaults.h"
#include "dayclosing.h"
#include "ledgerfixture.h"
#include "ledgerops.h"
#include "loggedstatement.h"
#include "schema.h"
#include "settingsstore.h"
#include "users.h"
#include "voucherbooking.h"

#include <QSysInfo>
#include <QtTest>
#include <functional>

// Every kind of change the program makes leaves exactly one entry in the event log, written in the same
// transaction: a change that fails leaves no entry, and an entry that cannot be written undoes the change.
class TestLoggedChanges : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_db.close(); }

    void changeLeavesOneEntry_data();
    void changeLeavesOneEntry();
    void failedChangeLeavesNoEntry_data() { changeLeavesOneEntry_data(); }
    void failedChangeLeavesNoEntry();
    void failedEntryUndoesTheChange_data() { changeLeavesOneEntry_data(); }
    void failedEntryUndoesTheChange();

private:
    // One kind of change: what it needs first (returns the key the entry names, 0 when the change makes it), the
    // change itself as the user "pisti" makes it, and a trigger that makes the change's own write fail.
    struct Change
    {
        std::function<qint64(TestLoggedChanges &)> prepare;
        std::function<void(TestLoggedChanges &, qint64 key)> run;
        QString failingWrite;
    };
    static QHash<QString, Change> changes();
    BookingDay day() const { return {m_db.session.openDay, QDate(), DateRule::AnyDay, QStringLiteral("pisti")}; }
    int booked(LedgerFixture::Type type, double amount)
    {
        const int row = m_db.pending(m_till, type, amount, m_db.session.openDay);
        BookVoucher(*m_db.engine, row, day());
        return row;
    }
    qint64 lastEntry() const
    {
        return m_db.scalar(QStringLiteral("SELECT COALESCE(MAX(naplo), 0) FROM naplo;")).toLongLong();
    }
    // Every table but the log, as text: what a change changed.
    QString contents() const;
    void failWith(const QString &trigger);

    LedgerFixture m_db;
    int m_till = 0;
};

void TestLoggedChanges::init()
{
    m_db.open(QStringLiteral("loggedchanges"));
    m_till = m_db.till(QStringLiteral("Főpénztár"), QStringLiteral("FB"), QStringLiteral("FK"), 100000);
    m_db.session.till = m_till;
}

QHash<QString, TestLoggedChanges::Change> TestLoggedChanges::changes()
{
    using T = TestLoggedChanges;
    const auto none = [](T &) { return qint64(0); };
    return {
        {QStringLiteral("Könyvelés"),
         {[](T &t) { return qint64(t.m_db.pending(t.m_till, LedgerFixture::Receipt, 1500, t.m_db.session.openDay)); },
          [](T &t, qint64 key) { BookVoucher(*t.m_db.engine, int(key), t.day()); },
          QStringLiteral("BEFORE UPDATE ON dromvel")}},
        {QStringLiteral("Függő tétel törlése"),
         {[](T &t) { return qint64(t.m_db.pending(t.m_till, LedgerFixture::Payment, 700, t.m_db.session.openDay)); },
          [](T &t, qint64 key) { DeletePendingVoucher(*t.m_db.engine, int(key), QStringLiteral("pisti")); },
          QStringLiteral("BEFORE DELETE ON dromvel")}},
        {QStringLiteral("Elszámolás"),
         {[](T &t) { return qint64(t.booked(LedgerFixture::AdvanceType, 800)); },
          [](T &t, qint64 key) {
              PostSettlement(*t.m_db.engine, int(key), t.m_till, t.day(),
                             {t.m_db.session.openDay, QStringLiteral("számla 12"), 500});
          },
          QStringLiteral("BEFORE UPDATE OF elszamolva ON dromvel")}},
        // The voucher a settlement generates is a booking of its own, logged as one.
        {QStringLiteral("Elszámolás bizonylata"),
         {[](T &t) {
              const int advance = t.booked(LedgerFixture::AdvanceType, 800);
              PostSettlement(*t.m_db.engine, advance, t.m_till, t.day(), {t.m_db.session.openDay, QString(), 500});
              return qint64(advance);
          },
          [](T &t, qint64 advance) {
              QList<SettlementVoucher> vouchers = SettlementVouchers(SettlementMethod::Difference, 800, 500);
              vouchers[0].kasszatip = LedgerFixture::Receipt;
              GenerateSettlementVouchers(*t.m_db.engine,
                                         {int(advance), t.m_till, QStringLiteral("pisti"), t.day(), false}, vouchers);
          },
          QStringLiteral("BEFORE INSERT ON dromvel")}},
        {QStringLiteral("Napzárás"),
         {[](T &t) {
              t.booked(LedgerFixture::Receipt, 2500);
              return qint64(0);
          },
          [](T &t, qint64) { CloseDay(*t.m_db.engine, t.m_till, t.m_db.session.openDay, QStringLiteral("pisti")); },
          QStringLiteral("BEFORE INSERT ON zarbizonylat")}},
        {QStringLiteral("Új kassza"),
         {none,
          [](T &t, qint64) {
              CreateTill(*t.m_db.engine, {{QStringLiteral("kassza_nev"), QStringLiteral("Bolt")}},
                         QStringLiteral("pisti"), t.m_db.session.openDay);
          },
          QStringLiteral("BEFORE INSERT ON kassza")}},
        {QStringLiteral("Kassza módosítása"),
         {[](T &t) { return qint64(t.m_till); },
          [](T &t, qint64 key) {
              UpdateTill(*t.m_db.engine, int(key), {{QStringLiteral("zaro_max"), 300000.0}}, QStringLiteral("pisti"));
          },
          QStringLiteral("BEFORE UPDATE ON kassza")}},
        {QStringLiteral("Beállítások"),
         {none,
          [](T &t, qint64) {
              SettingsRow settings = ReadSettings(*t.m_db.engine);
              OwnerRow owner = ReadOwner(*t.m_db.engine);
              settings.autoNyomtat = true;
              SaveSettings(*t.m_db.engine, settings, owner, QStringLiteral("pisti"));
          },
          QStringLiteral("BEFORE UPDATE ON beallit")}},
        {QStringLiteral("Új felhasználó"),
         {none,
          [](T &t, qint64) {
              SaveUser(*t.m_db.engine,
                       {QVariant(), QStringLiteral("bori"), QStringLiteral("Kiss Bori"), QStringLiteral("titok123"),
                        false, true},
                       QStringLiteral("pisti"));
          },
          QStringLiteral("BEFORE INSERT ON felhasznalo")}},
        {QStringLiteral("Felhasználó törlése"),
         {[](T &t) {
              return SaveUser(*t.m_db.engine,
                              {QVariant(), QStringLiteral("bori"), QStringLiteral("Kiss Bori"),
                               QStringLiteral("titok123"), false, true},
                              QStringLiteral("pisti"))
                  .toLongLong();
          },
          [](T &t, qint64 key) { DeleteUser(*t.m_db.engine, key, QStringLiteral("pisti")); },
          QStringLiteral("BEFORE DELETE ON felhasznalo")}},
        // The user's own new password at login: the user writes it, and it never shows in the log.
        {QStringLiteral("Jelszócsere"),
         {[](T &t) {
              SaveUser(*t.m_db.engine,
                       {QVariant(), QStringLiteral("pisti"), QStringLiteral("Nagy István"), QStringLiteral("titok1"),
                        true, true},
                       QStringLiteral("admin"));
              return qint64(0);
          },
          [](T &t, qint64) { StorePassword(*t.m_db.engine, QStringLiteral("pisti"), QStringLiteral("titok2")); },
          QStringLiteral("BEFORE UPDATE ON felhasznalo")}},
        {QStringLiteral("SQL parancs"),
         {none,
          [](T &t, qint64) {
              RunLoggedStatement(*t.m_db.engine, QStringLiteral("UPDATE ugyfel SET elszamollimit = 5000;"),
                                 QStringLiteral("pisti"));
          },
          QStringLiteral("BEFORE UPDATE ON ugyfel")}},
    };
}

void TestLoggedChanges::changeLeavesOneEntry_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("onTheTill");
    QTest::addColumn<QString>("text"); // what the entry's text holds

    QTest::newRow("booking") << "Könyvelés"
                             << "Könyvelés" << true << "FB00001";
    QTest::newRow("deleting a pending row") << "Függő tétel törlése"
                                            << "Függő tétel törlése" << true << "700";
    QTest::newRow("settlement") << "Elszámolás"
                                << "Elszámolás" << true << "számla 12";
    QTest::newRow("a settlement's voucher") << "Elszámolás bizonylata"
                                            << "Könyvelés" << true << "300";
    QTest::newRow("day closing") << "Napzárás"
                                 << "Napzárás" << true << "1 sor";
    QTest::newRow("new till") << "Új kassza"
                              << "Új kassza" << false << "Bolt";
    QTest::newRow("editing a till") << "Kassza módosítása"
                                    << "Kassza módosítása" << true << "Főpénztár: zaro_max 300000";
    QTest::newRow("settings") << "Beállítások"
                              << "Beállítások" << false << "automatikus nyomtatás: I";
    QTest::newRow("new user") << "Új felhasználó"
                              << "Új felhasználó" << false << "Kiss Bori";
    QTest::newRow("deleting a user") << "Felhasználó törlése"
                                     << "Felhasználó törlése" << false << "bori";
    QTest::newRow("password") << "Jelszócsere"
                              << "Jelszócsere" << false << "pisti";
    QTest::newRow("console statement") << "SQL parancs"
                                       << "SQL parancs" << false << "elszamollimit = 5000";
}

void TestLoggedChanges::changeLeavesOneEntry()
{
    QFETCH(QString, kind);
    QFETCH(QString, event);
    QFETCH(bool, onTheTill);
    QFETCH(QString, text);
    const Change change = changes().value(kind);
    const qint64 key = change.prepare(*this);
    const qint64 before = lastEntry();
    const QDateTime start = QDateTime::currentDateTime().addSecs(-1);

    change.run(*this, key);

    // The till an entry names is the row's own; a new till is its own till. The key names the row concerned: the
    // booked or deleted voucher, the settled advance, the generated voucher, the closing record, the new till or user.
    const auto last = [this](const char *sql) { return m_db.scalar(QString::fromLatin1(sql)).toLongLong(); };
    const qint64 newTill = last("SELECT MAX(kassza) FROM kassza;");
    const QHash<QString, qint64> made{
        {QStringLiteral("Elszámolás bizonylata"), last("SELECT MAX(dromvel) FROM dromvel;")},
        {QStringLiteral("Napzárás"), last("SELECT MAX(zarbizonylat) FROM zarbizonylat;")},
        {QStringLiteral("Új kassza"), newTill},
        {QStringLiteral("Beállítások"), 1},
        {QStringLiteral("Új felhasználó"), last("SELECT MAX(rowid) FROM felhasznalo;")}};
    Query q(*m_db.engine, QStringLiteral("SELECT idopont, munkaallomas, felhasznalo, esemeny, kassza, sorkulcs, "
                                         "szoveg FROM naplo WHERE naplo > %1;")
                              .arg(before));
    q.open();
    QVERIFY(q.next());
    const QDateTime time = QDateTime::fromString(q.value(0).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QVERIFY(time >= start && time <= QDateTime::currentDateTime());
    QCOMPARE(q.value(1).toString(), QSysInfo::machineHostName().left(50));
    QCOMPARE(q.value(2).toString(), QStringLiteral("pisti"));
    QCOMPARE(q.value(3).toString(), event);
    QCOMPARE(q.value(4).toInt(), onTheTill ? m_till : kind == QStringLiteral("Új kassza") ? int(newTill) : 0);
    QCOMPARE(q.value(5).toLongLong(), made.value(kind, key));
    const QString logged = q.value(6).toString();
    QVERIFY2(logged.contains(text), qPrintable(logged));
    QVERIFY2(!logged.contains(QStringLiteral("titok")), qPrintable(logged));
    QVERIFY2(!q.next(), "more than one entry");
}

QString TestLoggedChanges::contents() const
{
    QStringList lines;
    for (const TableDef &table : Schema::Tables()) {
        if (table.name == QLatin1String("naplo"))
            continue;
        Query q(*m_db.engine, QStringLiteral("SELECT * FROM %1 ORDER BY rowid;").arg(table.name));
        q.open();
        while (q.next()) {
            QStringList values{table.name};
            for (int i = 0; i < q.fieldCount(); ++i)
                values.append(q.value(i).toString());
            lines.append(values.join(QLatin1Char('|')));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

void TestLoggedChanges::failWith(const QString &trigger)
{
    CreateFailingTrigger(*m_db.engine, QStringLiteral("forced_failure"), trigger, QStringLiteral("kényszerített hiba"));
}

void TestLoggedChanges::failedChangeLeavesNoEntry()
{
    QFETCH(QString, kind);
    const Change change = changes().value(kind);
    const qint64 key = change.prepare(*this);
    const qint64 before = lastEntry();
    failWith(change.failingWrite);

    QVERIFY_THROWS_EXCEPTION(EngineError, change.run(*this, key));

    QCOMPARE(m_db.engine->transactionDepth(), 0);
    QCOMPARE(lastEntry(), before);
}

void TestLoggedChanges::failedEntryUndoesTheChange()
{
    QFETCH(QString, kind);
    const Change change = changes().value(kind);
    const qint64 key = change.prepare(*this);
    const qint64 before = lastEntry();
    const QString unchanged = contents();
    failWith(QStringLiteral("BEFORE INSERT ON naplo"));

    QVERIFY_THROWS_EXCEPTION(EngineError, change.run(*this, key));

    QCOMPARE(m_db.engine->transactionDepth(), 0);
    QCOMPARE(lastEntry(), before);
    QCOMPARE(contents(), unchanged);
}

QTEST_GUILESS_MAIN(TestLoggedChanges)
#include "test_loggedchanges.moc"
