#include "bookingcheck.h"
#include "ledgerfixture.h"
#include "voucherbooking.h"

#include <QtTest>

Q_DECLARE_METATYPE(DateRule)
Q_DECLARE_METATYPE(BookingCheck)

namespace {

const int Never = 99;

} // namespace

// The one decision whether a voucher may be booked now, as the form, "Kész!" and the booking itself ask it.
class TestBookingCheck : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_db.open(QStringLiteral("bookingcheck")); }
    void cleanup() { m_db.close(); }

    void decision_data();
    void decision();
    void voucherOfNothingOrOfMissingMasters_data();
    void voucherOfNothingOrOfMissingMasters();
    void goneAndBookedRows();
    void bookingRefusesUnderTheLockWhatTheCheckRefuses();

private:
    LedgerFixture m_db;
};

void TestBookingCheck::decision_data()
{
    QTest::addColumn<DateRule>("rule");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("amount");
    QTest::addColumn<int>("dateOffset");
    QTest::addColumn<int>("closedOffset");
    QTest::addColumn<BookingCheck>("expected");

    using F = LedgerFixture;
    using R = DateRule;
    using C = BookingCheck;
    // The till holds 1000.
    QTest::newRow("open day") << R::OpenDayOnly << int(F::Receipt) << 10.0 << 0 << Never << C::Allowed;
    QTest::newRow("open day after the closed one")
        << R::OpenDayOnly << int(F::Receipt) << 10.0 << 0 << -1 << C::Allowed;
    QTest::newRow("open day closed") << R::OpenDayOnly << int(F::Receipt) << 10.0 << 0 << 0 << C::DayClosed;
    QTest::newRow("earlier day") << R::OpenDayOnly << int(F::Receipt) << 10.0 << -1 << Never << C::NotOpenDay;
    QTest::newRow("later day") << R::OpenDayOnly << int(F::Receipt) << 10.0 << 1 << Never << C::NotOpenDay;
    QTest::newRow("back-dated") << R::UpToOpenDay << int(F::Receipt) << 10.0 << -3 << -5 << C::Allowed;
    QTest::newRow("back-dated onto the closed day")
        << R::UpToOpenDay << int(F::Receipt) << 10.0 << -3 << -3 << C::DayClosed;
    QTest::newRow("back-dating, later day") << R::UpToOpenDay << int(F::Receipt) << 10.0 << 1 << Never << C::NotOpenDay;
    QTest::newRow("any day, closed") << R::AnyDay << int(F::Receipt) << 10.0 << -3 << 0 << C::Allowed;
    QTest::newRow("any day, later") << R::AnyDay << int(F::Receipt) << 10.0 << 2 << Never << C::Allowed;
    QTest::newRow("payment of the balance") << R::OpenDayOnly << int(F::Payment) << 1000.0 << 0 << Never << C::Allowed;
    QTest::newRow("payment over the balance")
        << R::OpenDayOnly << int(F::Payment) << 1000.5 << 0 << Never << C::NotEnoughMoney;
    QTest::newRow("receipt of any size") << R::OpenDayOnly << int(F::Receipt) << 1e9 << 0 << Never << C::Allowed;
    // The date is judged before the money.
    QTest::newRow("wrong day and short") << R::OpenDayOnly << int(F::Payment) << 5000.0 << -1 << Never << C::NotOpenDay;
    QTest::newRow("closed day and short") << R::OpenDayOnly << int(F::Payment) << 5000.0 << 0 << 0 << C::DayClosed;
}

void TestBookingCheck::decision()
{
    QFETCH(DateRule, rule);
    QFETCH(int, type);
    QFETCH(double, amount);
    QFETCH(int, dateOffset);
    QFETCH(int, closedOffset);
    QFETCH(BookingCheck, expected);

    const QDate open = m_db.session.openDay;
    const int till = m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1000);
    // Another till's money does not count.
    m_db.till(QStringLiteral("Másik"), QStringLiteral("MB"), QStringLiteral("MK"), 1e9);
    const int row = m_db.pending(till, LedgerFixture::Type(type), amount, open.addDays(dateOffset));
    const BookingDay day{open, closedOffset == Never ? QDate() : open.addDays(closedOffset), rule,
                         QStringLiteral("teszt")};

    QCOMPARE(CheckBooking(*m_db.engine, ReadVoucherRow(*m_db.engine, row), day), expected);
}

void TestBookingCheck::voucherOfNothingOrOfMissingMasters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<BookingCheck>("expected");
    QTest::addColumn<QString>("named"); // what the message must name

    using C = BookingCheck;
    QTest::newRow("till 0") << "kassza" << QVariant(0) << C::NoTill << "kasszája";
    QTest::newRow("deleted till") << "kassza" << QVariant(7) << C::NoTill << "kasszája";
    QTest::newRow("no movement type") << "kasszatip" << QVariant() << C::NoMovementType << "kassza típusa";
    QTest::newRow("movement type 0") << "kasszatip" << QVariant(0) << C::NoMovementType << "kassza típusa";
    QTest::newRow("no client") << "ugyfel" << QVariant() << C::NoClient << "ügyfele";
    QTest::newRow("client 0") << "ugyfel" << QVariant(0) << C::NoClient << "ügyfele";
    QTest::newRow("empty amount") << "osszeg" << QVariant() << C::NoAmount << "összege";
    QTest::newRow("zero amount") << "osszeg" << QVariant(0.0) << C::NoAmount << "összege";
    QTest::newRow("negative amount") << "osszeg" << QVariant(-500.0) << C::NoAmount << "összege";
    QTest::newRow("a fraction above 0") << "osszeg" << QVariant(0.01) << C::Allowed << "";
}

void TestBookingCheck::voucherOfNothingOrOfMissingMasters()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(BookingCheck, expected);
    QFETCH(QString, named);

    const QDate open = m_db.session.openDay;
    const int till = m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1000);
    const int row = m_db.pending(till, LedgerFixture::Receipt, 10, open);
    m_db.engine->update(QStringLiteral("dromvel"), QStringLiteral("dromvel"), row, {{field, value}});
    const BookingDay day{open, QDate(), DateRule::OpenDayOnly, QStringLiteral("teszt")};

    QCOMPARE(CheckBooking(*m_db.engine, ReadVoucherRow(*m_db.engine, row), day), expected);
    QVERIFY(BookingCheckText(expected).contains(named));
    // The booking itself refuses it under the lock, and spends no number on it.
    const BookingResult booked = BookVoucher(*m_db.engine, row, day);
    QCOMPARE(booked.check, expected);
    QCOMPARE(m_db.isBooked(row), expected == BookingCheck::Allowed);
    if (expected != BookingCheck::Allowed)
        QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel WHERE ssz > 0;")).toInt(), 0);
}

void TestBookingCheck::goneAndBookedRows()
{
    const QDate open = m_db.session.openDay;
    m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1000);
    const BookingDay day{open, QDate(), DateRule::OpenDayOnly, QStringLiteral("teszt")};
    QCOMPARE(CheckBooking(*m_db.engine, QVariantMap(), day), BookingCheck::NotFound);
    const int row = m_db.pending(1, LedgerFixture::Receipt, 10, open);
    QCOMPARE(BookVoucher(*m_db.engine, row, day).check, BookingCheck::Allowed);
    QCOMPARE(CheckBooking(*m_db.engine, ReadVoucherRow(*m_db.engine, row), day), BookingCheck::AlreadyBooked);
    QCOMPARE(BookingCheckText(BookingCheck::AlreadyBooked), QStringLiteral("A bizonylat már le lett zárva."));
    QVERIFY(BookingCheckText(BookingCheck::Allowed).isEmpty());
}

void TestBookingCheck::bookingRefusesUnderTheLockWhatTheCheckRefuses()
{
    const QDate open = m_db.session.openDay;
    m_db.till(QStringLiteral("Fő"), QStringLiteral("AB"), QStringLiteral("AK"), 1000);
    const int row = m_db.pending(1, LedgerFixture::Receipt, 10, open);
    const BookingDay closed{open, open, DateRule::OpenDayOnly, QStringLiteral("teszt")};
    const BookingResult refused = BookVoucher(*m_db.engine, row, closed);
    QCOMPARE(refused.check, BookingCheck::DayClosed);
    QVERIFY(!m_db.isBooked(row));
    QCOMPARE(m_db.value(row, "dromvelid").toInt(), 0);
    QCOMPARE(m_db.value(row, "ssz").toInt(), 0);

    // A new voucher refused for want of money is not written at all.
    QVariantMap payment = ReadVoucherRow(*m_db.engine, row);
    payment.insert(QStringLiteral("kibe"), QStringLiteral("K"));
    payment.insert(QStringLiteral("osszeg"), 2000.0);
    const int rows = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel;")).toInt();
    QCOMPARE(
        BookVoucher(*m_db.engine, -1, {open, QDate(), DateRule::OpenDayOnly, QStringLiteral("teszt")}, payment).check,
        BookingCheck::NotEnoughMoney);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel;")).toInt(), rows);
}

QTEST_GUILESS_MAIN(TestBookingCheck)
#include "test_bookingcheck.moc"
