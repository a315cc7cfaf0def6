#include "bookingcheck.h"

#include "ledgerops.h"
#include "masterlookups.h"
#include "session.h"
#include "tillstore.h"
#include "util.h"
#include "voucherbooking.h"

#include <algorithm>
#include <cmath>

namespace {

bool DateAllowed(const QDate &date, const BookingDay &day)
{
    switch (day.rule) {
    case DateRule::OpenDayOnly:
        return date == day.openDay;
    case DateRule::UpToOpenDay:
        return !(date > day.openDay);
    case DateRule::AnyDay:
        return true;
    }
    return false;
}

} // namespace

BookingDay MainWindowDay(const Session &session)
{
    return {session.openDay, session.closedUntil, session.vissza ? DateRule::AnyDay : DateRule::OpenDayOnly,
            session.user};
}

BookingCheck CheckBooking(Engine &engine, const QVariantMap &row, const BookingDay &day)
{
    if (row.isEmpty())
        return BookingCheck::NotFound;
    if (ValueOr(row.value(QStringLiteral("kiadva")), QString()) == QLatin1String("I"))
        return BookingCheck::AlreadyBooked;
    const VoucherMasters masters = FindVoucherMasters(engine, ValueOr(row.value(QStringLiteral("kassza")), 0),
                                                      ValueOr(row.value(QStringLiteral("kasszatip")), 0),
                                                      ValueOr(row.value(QStringLiteral("ugyfel")), 0));
    if (!masters.till)
        return BookingCheck::NoTill;
    if (!masters.movementType)
        return BookingCheck::NoMovementType;
    if (!masters.client)
        return BookingCheck::NoClient;
    // A serial of a strict-accountability form is never spent on a voucher of nothing.
    if (!(ValueOr(row.value(QStringLiteral("osszeg")), 0.0) > 0))
        return BookingCheck::NoAmount;
    const QDate date = row.value(QStringLiteral("dat_kiadva")).toDate();
    if (!DateAllowed(date, day))
        return BookingCheck::NotOpenDay;
    if (day.rule != DateRule::AnyDay &&
        !DayIsOpen(date, LaterClosedUntil(engine, ValueOr(row.value(QStringLiteral("kassza")), 0), day.closedUntil)))
        return BookingCheck::DayClosed;
    if (ValueOr(row.value(QStringLiteral("kibe")), QString()) == QLatin1String("K")) {
        const double balance = LedgerOps(engine).TillBalance(ValueOr(row.value(QStringLiteral("kassza")), 0));
        if (ExceedsBalance(ValueOr(row.value(QStringLiteral("osszeg")), 0.0), balance))
            return BookingCheck::NotEnoughMoney;
    }
    return BookingCheck::Allowed;
}

QString BookingCheckText(BookingCheck check)
{
    switch (check) {
    case BookingCheck::Allowed:
        return QString();
    case BookingCheck::NotFound:
        return VoucherWriteText(VoucherWrite::NotFound);
    case BookingCheck::AlreadyBooked:
        return VoucherWriteText(VoucherWrite::AlreadyBooked);
    case BookingCheck::NoTill:
        return QStringLiteral("A bizonylat nem könyvelhető: a kasszája nem létezik. Előbb hozzon létre egy kasszát "
                              "(Törzsadatok / Kasszák), és válassza ki (Rekordok / Kassza választás).");
    case BookingCheck::NoMovementType:
        return QStringLiteral("A bizonylat nem könyvelhető: a kassza típusa nem létezik. Vegyen fel kassza típust "
                              "(Törzsadatok / Kassza típusok), és írja meg vele a bizonylatot.");
    case BookingCheck::NoClient:
        return QStringLiteral("A bizonylat nem könyvelhető: az ügyfele nem létezik. Válasszon ügyfelet a listából.");
    case BookingCheck::NoAmount:
        return QStringLiteral("A bizonylat nem könyvelhető: az összege nem nagyobb 0-nál. Írja be a tételek "
                              "összegét, vagy mentse el függőként.");
    case BookingCheck::NotOpenDay:
        return QStringLiteral("Bizonylat csak a megnyitott napra könyvelhető.");
    case BookingCheck::DayClosed:
        return QStringLiteral("A nap már le lett zárva.");
    case BookingCheck::NotEnoughMoney:
        return QStringLiteral("Nincs elegendő pénz a művelethez");
    }
    return QString();
}

QDate LaterClosedUntil(Engine &engine, int till, const QDate &known)
{
    const QDate stored = TillClosedUntil(engine, till);
    if (!known.isValid())
        return stored;
    return stored.isValid() && stored > known ? stored : known;
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
