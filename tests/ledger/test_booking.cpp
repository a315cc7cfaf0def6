#include "choosers.h"
#include "databasefaults.h"
#include "ledgerfixture.h"
#include "ledgerops.h"
#include "ledgersound.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "voucheractions.h"
#include "voucherbooking.h"

#include <QtTest>

namespace {

const QString DateQuestion = QStringLiteral("Bizonylat csak a megnyitott napra könyvelhető. Módosítsam a dátumot?");
const QString Confirm = QStringLiteral("Valóban lezárod a bizonylatot?");
const QString NoMoney = QStringLiteral("Nincs elegendő pénz a művelethez");
const QString Booked = QStringLiteral("A bizonylat már le lett zárva.");
const QString Gone = QStringLiteral("A bizonylat már nem létezik: közben egy másik munkahelyen törölték.");
const QString DeleteQuestion = QStringLiteral("Valóban töröljem a sort?");
const QString CannotDelete = QStringLiteral("Már kiadott bizonylat nem törölhető.");
const QString NoAmount = QStringLiteral(
    "A bizonylat nem könyvelhető: az összege nem nagyobb 0-nál. Írja be a tételek összegét, vagy mentse el függőként.");
const int Never = 99;

struct Printed
{
    int dromvel;
    bool advance;
    bool operator==(const Printed &) const = default;
};

} // namespace

class TestBooking : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_db.open(QStringLiteral("booking"));
        m_printed.clear();
    }
    void cleanup() { m_db.close(); }

    void keszChecksDatesMoneyAndAsks_data();
    void keszChecksDatesMoneyAndAsks();
    void bookingNumbersAndBalances();
    void advancesRaiseTheClientTotal();
    void bookedVanishedAndEmptyRows();
    void anotherWorkstationActsWhileAQuestionIsOpen();
    void failedBookingLeavesNothingHalfWritten();
    void deletion();
    void newVoucherValues();
    void sampleVouchers();

private:
    PrintChoice recorder()
    {
        return [this](int dromvel, bool advance, QWidget *) { m_printed.append({dromvel, advance}); };
    }

    LedgerFixture m_db;
    QList<Printed> m_printed;
};

void TestBooking::keszChecksDatesMoneyAndAsks_data()
{
    QTest::addColumn<bool>("vissza");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("opening");
    QTest::addColumn<int>("dateOffset");
    QTest::addColumn<int>("closedOffset");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("booked");
    QTest::addColumn<int>("dateAfter");

    using F = LedgerFixture;
    const QList<bool> yes{true}, no{false}, none;
    QTest::newRow("open day: confirmed") << false << int(F::Receipt) << 500.0 << 1000.0 << 0 << Never << yes
                                         << QStringList{Confirm} << true << 0;
    QTest::newRow("open day: not confirmed")
        << false << int(F::Receipt) << 500.0 << 1000.0 << 0 << Never << no << QStringList{Confirm} << false << 0;
    QTest::newRow("open day already closed") << false << int(F::Receipt) << 500.0 << 1000.0 << 0 << 0 << none
                                             << QStringList{QStringLiteral("A nap már le lett zárva.")} << false << 0;
    QTest::newRow("other day, moved and booked")
        << false << int(F::Receipt) << 500.0 << 1000.0 << -1 << Never << QList<bool>{true, true}
        << QStringList{DateQuestion, Confirm} << true << 0;
    QTest::newRow("other day, not moved")
        << false << int(F::Receipt) << 500.0 << 1000.0 << -1 << Never << no << QStringList{DateQuestion} << false << -1;
    QTest::newRow("other day, open day closed")
        << false << int(F::Receipt) << 500.0 << 1000.0 << -1 << 0 << yes
        << QStringList{DateQuestion, QStringLiteral("Már lezárt nap.")} << false << -1;
    QTest::newRow("other day, moved, not confirmed: date kept")
        << false << int(F::Receipt) << 500.0 << 1000.0 << -1 << Never << QList<bool>{true, false}
        << QStringList{DateQuestion, Confirm} << false << 0;
    QTest::newRow("other day, moved, money short: date kept")
        << false << int(F::Payment) << 1001.0 << 1000.0 << -1 << Never << yes << QStringList{DateQuestion, NoMoney}
        << false << 0;
    QTest::newRow("back-dating: closed day books on its date")
        << true << int(F::Receipt) << 500.0 << 1000.0 << -3 << -1 << yes << QStringList{Confirm} << true << -3;
    QTest::newRow("back-dating: later day books on its date")
        << true << int(F::Receipt) << 500.0 << 1000.0 << 2 << Never << yes << QStringList{Confirm} << true << 2;
    QTest::newRow("payment of the whole balance")
        << false << int(F::Payment) << 1000.0 << 1000.0 << 0 << Never << yes << QStringList{Confirm} << true << 0;
    QTest::newRow("payment one unit more")
        << false << int(F::Payment) << 1001.0 << 1000.0 << 0 << Never << yes << QStringList{NoMoney} << false << 0;
    QTest::newRow("payment one unit more than a billion")
        << false << int(F::Payment) << 1e9 + 1 << 1e9 << 0 << Never << yes << QStringList{NoMoney} << false << 0;
    QTest::newRow("payment of a balance summed from fractions")
        << false << int(F::Payment) << 0.3 << (0.1 + 0.2) << 0 << Never << yes << QStringList{Confirm} << true << 0;
    QTest::newRow("receipt on a negative balance")
        << false << int(F::Receipt) << 300.0 << -500.0 << 0 << Never << yes << QStringList{Confirm} << true << 0;
    // A serial number is never spent on a voucher of nothing, and nothing is asked first.
    QTest::newRow("zero amount") << false << int(F::Receipt) << 0.0 << 1000.0 << 0 << Never << yes
                                 << QStringList{NoAmount} << false << 0;
    QTest::newRow("negative amount") << false << int(F::Payment) << -500.0 << 1000.0 << 0 << Never << yes
                                     << QStringList{NoAmount} << false << 0;
    QTest::newRow("other day, zero amount: date not moved")
        << false << int(F::Receipt) << 0.0 << 1000.0 << -1 << Never << yes << QStringList{NoAmount} << false << -1;
    QTest::newRow("other direction books as a receipt")
        << false << int(F::OtherDirection) << 200.0 << 1000.0 << 0 << Never << yes << QStringList{Confirm} << true << 0;
}

void TestBooking::keszChecksDatesMoneyAndAsks()
{
    QFETCH(bool, vissza);
    QFETCH(int, type);
    QFETCH(double, amount);
    QFETCH(double, opening);
    QFETCH(int, dateOffset);
    QFETCH(int, closedOffset);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, shown);
    QFETCH(bool, booked);
    QFETCH(int, dateAfter);

    const QDate day = m_db.session.openDay;
    const int till = m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), opening);
    m_db.session.vissza = vissza;
    m_db.session.closedUntil = closedOffset == Never ? QDate() : day.addDays(closedOffset);
    const int row = m_db.pending(till, LedgerFixture::Type(type), amount, day.addDays(dateOffset));
    m_db.messages.answers = answers;

    const KeszResult result = Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr, recorder());

    QCOMPARE(m_db.messages.texts(), shown);
    for (const auto &box : m_db.messages.shown)
        QCOMPARE(box.kind == QLatin1String("question") ? box.caption : QStringLiteral("error"),
                 box.kind == QLatin1String("question") ? QStringLiteral("Megerősítés") : box.kind);
    QCOMPARE(m_db.isBooked(row), booked);
    QCOMPARE(m_db.value(row, "dat_kiadva").toDate(), day.addDays(dateAfter));
    QCOMPARE(result, booked                    ? KeszResult::Booked
                     : dateAfter != dateOffset ? KeszResult::Changed
                                               : KeszResult::Unchanged);
    const double balance = LedgerOps(*m_db.engine).TillBalance(till);
    if (booked) {
        const bool payment = type == LedgerFixture::Payment;
        QCOMPARE(m_db.value(row, "nyito").toDouble(), opening);
        QVERIFY(qAbs(balance - (payment ? opening - amount : opening + amount)) < 1e-9);
        QCOMPARE(m_db.value(row, "bevetel").toDouble(), payment ? 0.0 : amount);
        QCOMPARE(m_db.value(row, "kiadas").toDouble(), payment ? amount : 0.0);
        QCOMPARE(m_printed, (QList<Printed>{{row, false}}));
    } else {
        QCOMPARE(balance, opening);
        QCOMPARE(m_db.value(row, "dromvelid").toInt(), 0);
        QCOMPARE(m_db.value(row, "ssz").toInt(), 0);
        QVERIFY(m_printed.isEmpty());
    }
}

void TestBooking::bookingNumbersAndBalances()
{
    m_db.close();
    m_db.open(QStringLiteral("numbers"), QDate(2009, 3, 2));
    const QDate day = m_db.session.openDay;
    // Two tills share the receipt code AB.
    const int main = m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1000);
    const int shop = m_db.till(QStringLiteral("Bolt"), QStringLiteral("AB"), QStringLiteral("BK"), 50);
    struct Step
    {
        int till;
        LedgerFixture::Type type;
        double amount;
        const char *number;
        double nyito, zaro;
    };
    const Step steps[] = {
        {main, LedgerFixture::Receipt, 200, "AB00001", 1000, 1200},
        {shop, LedgerFixture::Receipt, 30, "AB00002", 50, 80},
        {main, LedgerFixture::Payment, 150, "AK00001", 1200, 1050},
        {shop, LedgerFixture::Payment, 80, "BK00001", 80, 0},
        {main, LedgerFixture::Receipt, 5, "AB00003", 1050, 1055},
    };
    int dromvelid = 2; // after the two opening rows
    for (const Step &step : steps) {
        const int row = m_db.pending(step.till, step.type, step.amount, day);
        m_db.messages.answers = {true};
        QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr, recorder()), KeszResult::Booked);
        QCOMPARE(LedgerOps::VoucherNumber(m_db.value(row, "betujel"), m_db.value(row, "ssz")),
                 QString::fromLatin1(step.number));
        QCOMPARE(m_db.value(row, "dromvelid").toInt(), ++dromvelid);
        QCOMPARE(m_db.value(row, "nyito").toDouble(), step.nyito);
        QCOMPARE(m_db.value(row, "zaro").toDouble(), step.zaro);
        QCOMPARE(m_db.value(row, "idoszak").toString(), QStringLiteral("200903"));
        QCOMPARE(m_db.value(row, "datumstr").toString(), QStringLiteral("20090302"));
        QCOMPARE(m_db.value(row, "elszamol_ssz").toInt(), 0);
    }
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestBooking::advancesRaiseTheClientTotal()
{
    const QDate day = m_db.session.openDay;
    m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 10000);
    const QString limit = QStringLiteral("Limit túllépés.");

    const int first = m_db.pending(1, LedgerFixture::AdvanceType, 800, day, 1);
    m_db.messages.answers = {true};
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, first, nullptr, recorder()), KeszResult::Booked);
    QCOMPARE(m_db.messages.texts(), QStringList{Confirm});
    QCOMPARE(m_db.clientTotal(1), 800.0);
    QCOMPARE(m_db.value(first, "elszamol_ssz").toInt(), 1);

    // Over the limit the warning shows after the booking, which still completes.
    m_db.messages.clear();
    const int second = m_db.pending(1, LedgerFixture::AdvanceType, 300, day, 1);
    m_db.messages.answers = {true};
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, second, nullptr, recorder()), KeszResult::Booked);
    QCOMPARE(m_db.messages.texts(), (QStringList{Confirm, limit}));
    QCOMPARE(m_db.messages.shown.last().kind, QStringLiteral("warning"));
    QCOMPARE(m_db.clientTotal(1), 1100.0);
    QCOMPARE(m_db.value(second, "elszamol_ssz").toInt(), 2);

    // A client without a limit is always over it.
    m_db.messages.clear();
    const int third = m_db.pending(1, LedgerFixture::AdvanceType, 50, day, 2);
    m_db.messages.answers = {true};
    Kesz(m_db.session, *m_db.engine, m_db.messages, third, nullptr, recorder());
    QCOMPARE(m_db.messages.texts(), (QStringList{Confirm, limit}));
    QCOMPARE(m_db.clientTotal(2), 50.0);

    // Anything else leaves the client alone.
    m_db.messages.clear();
    const int other = m_db.pending(1, LedgerFixture::Payment, 100, day, 1);
    m_db.messages.answers = {true};
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, other, nullptr, recorder()), KeszResult::Booked);
    QCOMPARE(m_db.messages.texts(), QStringList{Confirm});
    QCOMPARE(m_db.clientTotal(1), 1100.0);
    QCOMPARE(m_db.value(other, "elszamol_ssz").toInt(), 0);

    QCOMPARE(m_printed, (QList<Printed>{{first, true}, {second, true}, {third, true}, {other, false}}));
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestBooking::bookedVanishedAndEmptyRows()
{
    m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1000);
    // An empty ledger view.
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, -1, nullptr, recorder()), KeszResult::Unchanged);
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, 0, nullptr, recorder()), KeszResult::Unchanged);
    QVERIFY(!Torol(m_db.session, *m_db.engine, m_db.messages, -1));
    QVERIFY(m_db.messages.shown.isEmpty());

    const int row = m_db.pending(1, LedgerFixture::Receipt, 10, m_db.session.openDay);
    QCOMPARE(BookVoucher(*m_db.engine, row, AnyDay()).check, BookingCheck::Allowed);
    const QVariant dromvelid = m_db.value(row, "dromvelid");
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr, recorder()), KeszResult::Unchanged);
    QCOMPARE(m_db.messages.texts(), QStringList{Booked});
    QCOMPARE(m_db.value(row, "dromvelid"), dromvelid);
    QCOMPARE(BookVoucher(*m_db.engine, row, AnyDay()).check, BookingCheck::AlreadyBooked);

    m_db.messages.clear();
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, 999, nullptr, recorder()), KeszResult::Changed);
    QCOMPARE(m_db.messages.texts(), QStringList{Gone});
    QVERIFY(m_printed.isEmpty());
}

void TestBooking::anotherWorkstationActsWhileAQuestionIsOpen()
{
    const QDate day = m_db.session.openDay;
    m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1000);
    Engine other(QStringLiteral("booking-other"));
    other.open(m_db.folder);
    const auto remove = [&other](int row) {
        return
            [&other, row](const QString &) { other.remove(QStringLiteral("dromvel"), QStringLiteral("dromvel"), row); };
    };

    // Deleted while the confirmation is open: nothing is booked and the client's total stays.
    int row = m_db.pending(1, LedgerFixture::AdvanceType, 100, day, 1);
    m_db.messages.onAsk = remove(row);
    m_db.messages.answers = {true};
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr, recorder()), KeszResult::Changed);
    QCOMPARE(m_db.messages.texts(), (QStringList{Confirm, Gone}));
    QCOMPARE(m_db.clientTotal(1), 0.0);

    // Booked there meanwhile: booked once, the advance counted once.
    m_db.messages.clear();
    row = m_db.pending(1, LedgerFixture::AdvanceType, 100, day, 1);
    m_db.messages.onAsk = [&other, row](const QString &) { BookVoucher(other, row, AnyDay()); };
    m_db.messages.answers = {true};
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr, recorder()), KeszResult::Changed);
    QCOMPARE(m_db.messages.texts(), (QStringList{Confirm, Booked}));
    QCOMPARE(m_db.clientTotal(1), 100.0);
    QCOMPARE(m_db.value(row, "elszamol_ssz").toInt(), 1);

    // The till drained meanwhile: the money check is made again under the lock.
    m_db.messages.clear();
    row = m_db.pending(1, LedgerFixture::Payment, 600, day);
    const int drain = m_db.pending(1, LedgerFixture::Payment, 500, day);
    m_db.messages.onAsk = [&other, drain](const QString &) { BookVoucher(other, drain, AnyDay()); };
    m_db.messages.answers = {true};
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr, recorder()), KeszResult::Changed);
    QCOMPARE(m_db.messages.texts(), (QStringList{Confirm, NoMoney}));
    QVERIFY(!m_db.isBooked(row));
    QCOMPARE(LedgerOps(*m_db.engine).TillBalance(1), 400.0);

    // Deleted while the date question is open.
    m_db.messages.clear();
    row = m_db.pending(1, LedgerFixture::Receipt, 10, day.addDays(-1));
    m_db.messages.onAsk = remove(row);
    m_db.messages.answers = {true};
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr, recorder()), KeszResult::Changed);
    QCOMPARE(m_db.messages.texts(), (QStringList{DateQuestion, Gone}));

    QCOMPARE(m_printed.size(), 0);
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestBooking::failedBookingLeavesNothingHalfWritten()
{
    m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1000);
    const int row = m_db.pending(1, LedgerFixture::AdvanceType, 100, m_db.session.openDay, 1);
    // The row's write fails after the client's total has been raised.
    CreateFailingTrigger(*m_db.engine, QStringLiteral("fail_booking"), QStringLiteral("BEFORE UPDATE OF kiadva ON dromvel"),
                         QStringLiteral("lemez megtelt"));
    m_db.messages.answers = {true};
    QVERIFY_THROWS_EXCEPTION(EngineError, Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr, recorder()));
    QCOMPARE(m_db.engine->transactionDepth(), 0);
    QCOMPARE(m_db.clientTotal(1), 0.0);
    QVERIFY(!m_db.isBooked(row));
    QCOMPARE(m_db.value(row, "ssz").toInt(), 0);
    QVERIFY(m_printed.isEmpty());
}

void TestBooking::deletion()
{
    const QDate day = m_db.session.openDay;
    m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1000);
    const auto exists = [this](int row) { return m_db.value(row, "dromvel").isValid(); };

    const int booked = m_db.pending(1, LedgerFixture::Payment, 100, day);
    BookVoucher(*m_db.engine, booked, AnyDay());
    QVERIFY(!Torol(m_db.session, *m_db.engine, m_db.messages, booked));
    QCOMPARE(m_db.messages.texts(), QStringList{CannotDelete});
    QVERIFY(exists(booked));

    m_db.messages.clear();
    const int row = m_db.pending(1, LedgerFixture::Receipt, 100, day);
    m_db.messages.answers = {false};
    QVERIFY(!Torol(m_db.session, *m_db.engine, m_db.messages, row));
    QVERIFY(exists(row));
    m_db.messages.answers = {true};
    QVERIFY(Torol(m_db.session, *m_db.engine, m_db.messages, row));
    QVERIFY(!exists(row));
    QCOMPARE(m_db.messages.texts(), (QStringList{DeleteQuestion, DeleteQuestion}));
    QCOMPARE(m_db.messages.shown.first().caption, QStringLiteral("Megerősítés"));
    QCOMPARE(LedgerOps(*m_db.engine).TillBalance(1), 900.0);

    m_db.messages.clear();
    const int kept = m_db.pending(1, LedgerFixture::Receipt, 100, day);
    m_db.session.masterEdit = false;
    QVERIFY(!Torol(m_db.session, *m_db.engine, m_db.messages, kept));
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Nincs jogosultság a művelethez.")});
    m_db.session.masterEdit = true;

    // Booked on another workstation while the question is open: refused, the row stays.
    Engine other(QStringLiteral("deletion-other"));
    other.open(m_db.folder);
    m_db.messages.clear();
    m_db.messages.onAsk = [&other, kept](const QString &) { BookVoucher(other, kept, AnyDay()); };
    m_db.messages.answers = {true};
    QVERIFY(!Torol(m_db.session, *m_db.engine, m_db.messages, kept));
    QCOMPARE(m_db.messages.texts(), (QStringList{DeleteQuestion, CannotDelete}));
    QVERIFY(m_db.isBooked(kept));
}

void TestBooking::newVoucherValues()
{
    const QDate day(2024, 2, 27);
    const int coded = m_db.till(QStringLiteral("Fő"), QStringLiteral("FB"), QStringLiteral("FK"), 0);
    const int plain = m_db.till(QStringLiteral("Bolt"), QString(), QString(), 0);
    const auto values = [&](int till, const char *kibe, const char *advance) {
        KasszaTipChoice type;
        type.kasszatip = 3;
        type.kibe = QString::fromLatin1(kibe);
        type.elszamolas = QString::fromLatin1(advance);
        UgyfelChoice client;
        client.ugyfel = 1;
        client.elszamol = 5;
        return NewVoucherValues(*m_db.engine, till, QStringLiteral("pista"), type, client, day);
    };
    QCOMPARE(values(coded, "K", "N").value(QStringLiteral("betujel")).toString(), QStringLiteral("FK"));
    QCOMPARE(values(coded, "X", "N").value(QStringLiteral("betujel")).toString(), QStringLiteral("FB"));
    QCOMPARE(values(plain, "B", "N").value(QStringLiteral("betujel")).toString(), QStringLiteral("XX"));
    QCOMPARE(values(plain, "K", "N").value(QStringLiteral("betujel")).toString(), QStringLiteral("XX"));

    const QVariantMap advance = values(coded, "K", "I");
    QCOMPARE(advance.value(QStringLiteral("elszamol_kell_dat")).toDate(), QDate(2024, 3, 3));
    QCOMPARE(advance.value(QStringLiteral("felhasznalo")).toString(), QStringLiteral("pista"));
    QCOMPARE(advance.value(QStringLiteral("kiadva")).toString(), QStringLiteral("N"));
    QVERIFY(!values(coded, "K", "N").contains(QStringLiteral("elszamol_kell_dat")));
}

void TestBooking::sampleVouchers()
{
    m_db.close();
    m_db.open(QStringLiteral("sample"));
    // A database as a new one starts: drop the fixture's own types and clients.
    m_db.engine->exec(QStringLiteral("DELETE FROM kasszatip;"));
    m_db.engine->exec(QStringLiteral("DELETE FROM ugyfel;"));
    const QDate today = m_db.session.openDay;
    FillSampleData(*m_db.engine);
    FillSampleVouchers(*m_db.engine, today);

    const auto count = [this](const QString &where) {
        return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel WHERE %1;").arg(where)).toInt();
    };
    const int bookedRows = count(QStringLiteral("kiadva='I' AND kibe<>'N'"));
    QVERIFY2(bookedRows > 150, qPrintable(QString::number(bookedRows)));
    QCOMPARE(count(QStringLiteral("kiadva='N'")), 4);
    QVERIFY(count(QStringLiteral("elszamol_kell='I' AND kiadva='I'")) >= 5);
    QVERIFY(count(QStringLiteral("kassza=2 AND kiadva='I' AND kibe<>'N'")) > 10);
    QVERIFY_LEDGER_SOUND(*m_db.engine);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT MIN(dat_kiadva) FROM dromvel;")).toDate(), today.addDays(-91));
    QVERIFY(m_db.scalar(QStringLiteral("SELECT MAX(dat_kiadva) FROM dromvel WHERE kiadva='I';")).toDate() < today);
    // Every client's total is what its booked advances hold, within its limit.
    QCOMPARE(count(QStringLiteral("kiadva='I' AND elszamol_kell='I' AND (SELECT elszamolasra FROM ugyfel u WHERE "
                                  "u.ugyfel=dromvel.ugyfel) > (SELECT elszamollimit FROM ugyfel u WHERE "
                                  "u.ugyfel=dromvel.ugyfel)")),
             0);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT SUM(elszamolasra) FROM ugyfel;")).toDouble(),
             m_db.scalar(QStringLiteral("SELECT SUM(osszeg) FROM dromvel WHERE kiadva='I' AND elszamol_kell='I';"))
                 .toDouble());

    const int all = count(QStringLiteral("1=1"));
    FillSampleVouchers(*m_db.engine, today);
    QCOMPARE(count(QStringLiteral("1=1")), all);
}

QTEST_MAIN(TestBooking)
#include "test_booking.moc"
