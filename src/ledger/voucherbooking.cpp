#include "voucherbooking.h"

#include "choosers.h"
#include "engine.h"
#include "tillstore.h"
#include "util.h"
#include "voucherrows.h"

#include <QSqlRecord>
#include <algorithm>
#include <cmath>

namespace {

const QString Booked = QStringLiteral("I");

QString Text(const QVariantMap &row, const char *field)
{
    return ValueOr(row.value(QString::fromLatin1(field)), QString());
}

double Amount(const QVariantMap &row, const char *field)
{
    return ValueOr(row.value(QString::fromLatin1(field)), 0.0);
}

int Whole(const QVariantMap &row, const char *field)
{
    return ValueOr(row.value(QString::fromLatin1(field)), 0);
}

bool IsBooked(const QVariantMap &row)
{
    return Text(row, "kiadva") == Booked;
}

// Why a guarded write to the row changed nothing.
VoucherWrite WhyUnchanged(Engine &engine, int dromvel)
{
    const QVariantMap row = ReadVoucherRow(engine, dromvel);
    if (row.isEmpty())
        return VoucherWrite::NotFound;
    return IsBooked(row) ? VoucherWrite::AlreadyBooked : VoucherWrite::Done;
}

} // namespace

QVariantMap NewVoucherValues(Engine &engine, int till, const QString &user, const KasszaTipChoice &type,
                             const UgyfelChoice &client, const QDate &today)
{
    const bool advance = type.elszamolas == Booked;
    // Receipts take the receipt code; so does a type of any other direction, which books as a receipt.
    QString code = TillLetterCode(engine, till, type.kibe == QLatin1String("K"));
    if (code.trimmed().isEmpty())
        code = QStringLiteral("XX");

    QVariantMap row{
        {QStringLiteral("elszamol_kell"), type.elszamolas.isEmpty() ? QStringLiteral("N") : type.elszamolas},
        {QStringLiteral("elszamol_ssz"), 0},
        {QStringLiteral("felhasznalo"), user},
        {QStringLiteral("kasszatip"), type.kasszatip},
        {QStringLiteral("kibe"), type.kibe},
        {QStringLiteral("dat_kiadva"), today},
        {QStringLiteral("kassza"), till},
        {QStringLiteral("ugyfel"), client.ugyfel},
        {QStringLiteral("dromvelid"), 0},
        {QStringLiteral("betujel"), code},
        {QStringLiteral("ssz"), 0},
        {QStringLiteral("osszeg"), 0.0},
        {QStringLiteral("elszamolva"), QStringLiteral("N")},
        {QStringLiteral("kiadva"), QStringLiteral("N")},
        {QStringLiteral("lezarva"), QStringLiteral("N")},
    };
    if (advance)
        row.insert(QStringLiteral("elszamol_kell_dat"), today.addDays(client.elszamol));
    return row;
}

bool DayIsOpen(const QDate &day, const QDate &closedUntil)
{
    if (!day.isValid())
        return false;
    return !closedUntil.isValid() || day > closedUntil;
}

bool ExceedsBalance(double amount, double balance)
{
    // Far below the smallest coin even on large balances, far above the rounding left by chaining amounts
    // with fractions.
    const double tolerance = 1e-4 + 1e-12 * std::max(std::fabs(amount), std::fabs(balance));
    return amount - balance > tolerance;
}

QString VoucherWriteText(VoucherWrite outcome)
{
    switch (outcome) {
    case VoucherWrite::Done:
        return QString();
    case VoucherWrite::NotFound:
        return QStringLiteral("A bizonylat már nem létezik: közben egy másik munkahelyen törölték.");
    case VoucherWrite::AlreadyBooked:
        return QStringLiteral("A bizonylat már le lett zárva.");
    case VoucherWrite::NotEnoughMoney:
        return QStringLiteral("Nincs elegendő pénz a művelethez");
    }
    return QString();
}

BookingResult BookVoucher(Engine &engine, int dromvel, const QVariantMap &values)
{
    BookingResult result;
    LedgerOps ops(engine);
    // The write lock is held from here to the commit: the numbers read below cannot be taken by anyone else.
    Transaction transaction(engine);

    QVariantMap row;
    if (dromvel > 0) {
        row = ReadVoucherRow(engine, dromvel);
        if (row.isEmpty()) {
            result.outcome = VoucherWrite::NotFound;
            return result;
        }
        if (IsBooked(row)) {
            result.outcome = VoucherWrite::AlreadyBooked;
            return result;
        }
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        row.insert(it.key(), it.value());

    const bool payment = Text(row, "kibe") == QLatin1String("K");
    const double amount = Amount(row, "osszeg");
    // The balance of the row's own till, so that each till's chain of balances stays unbroken.
    const double balance = ops.TillBalance(Whole(row, "kassza"));
    if (payment && ExceedsBalance(amount, balance)) {
        result.outcome = VoucherWrite::NotEnoughMoney;
        return result;
    }

    result.advance = Text(row, "elszamol_kell") == Booked;
    const int bookingNumber = ops.NextMaxId(QStringLiteral("dromvelid"), QStringLiteral("dromvel"));
    if (result.advance)
        result.client = ops.ChangeClientSettlement(Whole(row, "ugyfel"), amount);

    const QDate date = row.value(QStringLiteral("dat_kiadva")).toDate();
    QVariantMap &booked = result.bookedValues;
    booked.insert(QStringLiteral("kiadva"), Booked);
    booked.insert(QStringLiteral("ssz"), ops.NextSerial(Text(row, "betujel")));
    booked.insert(QStringLiteral("elszamol_ssz"), result.advance ? ops.NextSettlementNumber() : 0);
    booked.insert(QStringLiteral("nyito"), balance);
    booked.insert(QStringLiteral("dromvelid"), bookingNumber);
    booked.insert(QStringLiteral("idoszak"), date.toString(QStringLiteral("yyyyMM")));
    booked.insert(QStringLiteral("datumstr"), date.toString(QStringLiteral("yyyyMMdd")));
    booked.insert(QStringLiteral("zaro"), payment ? balance - amount : balance + amount);
    booked.insert(QStringLiteral("bevetel"), payment ? 0.0 : amount);
    booked.insert(QStringLiteral("kiadas"), payment ? amount : 0.0);

    QVariantMap write = values;
    for (auto it = booked.cbegin(); it != booked.cend(); ++it)
        write.insert(it.key(), it.value());
    if (dromvel > 0) {
        if (UpdatePendingRow(engine, dromvel, write) != 1)
            throw EngineError(QStringLiteral("A bizonylat könyvelése nem sikerült."));
        result.dromvel = dromvel;
    } else {
        result.dromvel = InsertVoucherRow(engine, write);
    }
    transaction.commit();
    return result;
}

VoucherWrite SavePendingVoucher(Engine &engine, int &dromvel, const QVariantMap &values)
{
    if (dromvel <= 0) {
        dromvel = InsertVoucherRow(engine, values);
        return VoucherWrite::Done;
    }
    Transaction transaction(engine);
    if (UpdatePendingRow(engine, dromvel, values) == 1) {
        transaction.commit();
        return VoucherWrite::Done;
    }
    const VoucherWrite why = WhyUnchanged(engine, dromvel);
    transaction.commit();
    // Nothing to write leaves a pending row as it was.
    return why;
}

VoucherWrite MovePendingVoucher(Engine &engine, int dromvel, const QDate &date)
{
    Transaction transaction(engine);
    const VoucherWrite outcome = UpdatePendingRow(engine, dromvel, {{QStringLiteral("dat_kiadva"), date}}) == 1
                                     ? VoucherWrite::Done
                                     : WhyUnchanged(engine, dromvel);
    transaction.commit();
    return outcome;
}

VoucherWrite DeletePendingVoucher(Engine &engine, int dromvel)
{
    Transaction transaction(engine);
    const VoucherWrite outcome =
        DeletePendingRow(engine, dromvel) == 1 ? VoucherWrite::Done : WhyUnchanged(engine, dromvel);
    transaction.commit();
    return outcome;
}
