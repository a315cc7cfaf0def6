#include "advancesettlement.h"

#include "engine.h"
#include "eventlog.h"
#include "util.h"
#include "voucherbooking.h"
#include "voucherrows.h"

#include <cmath>

namespace {

const QString Yes = QStringLiteral("I");
const QString ReceiptCaption = QStringLiteral("Bevét kasszatípus");
const QString PaymentCaption = QStringLiteral("Kiadás kasszatípus");

QString Text(const QVariantMap &row, const char *field)
{
    return ValueOr(row.value(QString::fromLatin1(field)), QString());
}

SettlementVoucher Voucher(bool receipt, double amount, const char *prefix, const char *line)
{
    SettlementVoucher v;
    v.receipt = receipt;
    v.amount = amount;
    v.remarkPrefix = QString::fromUtf8(prefix);
    v.lineText = QString::fromUtf8(line);
    v.typeCaption = receipt ? ReceiptCaption : PaymentCaption;
    return v;
}

// The ledger row of a generated voucher, before its numbers.
QVariantMap VoucherValues(const SettlementVoucher &voucher, const QVariantMap &advance, const SettlementTarget &target)
{
    QString code = Text(advance, voucher.receipt ? "betujel_be" : "betujel_ki");
    if (code.trimmed().isEmpty())
        code = QStringLiteral("XX");
    const QDate day = target.day.openDay;
    return {
        {QStringLiteral("lezarva"), QStringLiteral("N")},
        {QStringLiteral("kiadva"), QStringLiteral("N")},
        {QStringLiteral("kibe"), voucher.receipt ? QStringLiteral("B") : QStringLiteral("K")},
        {QStringLiteral("betujel"), code},
        {QStringLiteral("kassza"), target.till},
        {QStringLiteral("dat_kiadva"), day},
        {QStringLiteral("kasszatip"), voucher.kasszatip},
        {QStringLiteral("osszeg"), voucher.amount},
        {QStringLiteral("szoveg"), voucher.remarkPrefix + day.toString(QStringLiteral("yyyy.MM.dd"))},
        {QStringLiteral("ugyfel"), advance.value(QStringLiteral("ugyfel"))},
        {QStringLiteral("elszamol_kell"), QStringLiteral("N")},
        {QStringLiteral("bizszam1"),
         LedgerOps::VoucherNumber(advance.value(QStringLiteral("betujel")), advance.value(QStringLiteral("ssz")))},
        {QStringLiteral("szoveg1"), voucher.lineText},
        {QStringLiteral("osszeg1"), voucher.amount},
        {QStringLiteral("felhasznalo"), target.user},
    };
}

} // namespace

SettlementCheck CheckSettlement(Engine &engine, const QVariantMap &row, int till, const BookingDay &day)
{
    if (row.isEmpty())
        return SettlementCheck::NotFound;
    if (Text(row, "kiadva") == QLatin1String("N"))
        return SettlementCheck::NotBooked;
    if (Text(row, "elszamol_kell") == QLatin1String("N"))
        return SettlementCheck::NotAdvance;
    if (Text(row, "elszamolva") == Yes)
        return SettlementCheck::AlreadySettled;
    if (day.rule != DateRule::AnyDay && !DayIsOpen(day.openDay, LaterClosedUntil(engine, till, day.closedUntil)))
        return SettlementCheck::DayClosed;
    return SettlementCheck::Allowed;
}

QString SettlementCheckText(SettlementCheck check)
{
    switch (check) {
    case SettlementCheck::Allowed:
        return QString();
    case SettlementCheck::NotFound:
        return VoucherWriteText(VoucherWrite::NotFound);
    case SettlementCheck::NotBooked:
        return QStringLiteral("Ez a bizonylat még nem lett könyvelve.");
    case SettlementCheck::NotAdvance:
        return QStringLiteral("Ezt a tételt nem kell elszámolni.");
    case SettlementCheck::AlreadySettled:
        return QStringLiteral("Ez a tétel már el lett számolva.");
    case SettlementCheck::DayClosed:
        return QStringLiteral("Ez a nap már le lett zárva.");
    }
    return QString();
}

SettlementPost PostSettlement(Engine &engine, int dromvel, int till, const BookingDay &day,
                              const SettlementEntry &entry)
{
    SettlementPost post;
    // Under the write lock: another workstation may have settled the advance or closed the day since the form
    // opened.
    Transaction transaction(engine);
    const QVariantMap row = ReadVoucherRow(engine, dromvel);
    post.check = CheckSettlement(engine, row, till, day);
    if (post.check != SettlementCheck::Allowed)
        return post;
    post.advance = ValueOr(row.value(QStringLiteral("osszeg")), 0.0);
    const int changed = SettleAdvanceRow(engine, dromvel,
                                         {{QStringLiteral("elszamol_dat"), entry.date},
                                          {QStringLiteral("elszamolva"), Yes},
                                          {QStringLiteral("elszamol_biz"), entry.documents},
                                          {QStringLiteral("elszamol_tenyl_osszeg"), entry.spent}});
    if (changed != 1)
        throw EngineError(QStringLiteral("Az elszámolás rögzítése nem sikerült."));
    // The whole advance leaves the client's total, whatever was spent.
    post.client =
        LedgerOps(engine).ChangeClientSettlement(ValueOr(row.value(QStringLiteral("ugyfel")), 0), -post.advance);
    QStringList text{LedgerOps::VoucherNumber(row.value(QStringLiteral("betujel")), row.value(QStringLiteral("ssz"))) +
                         QStringLiteral(" előleg ") + FormatFloat(QString(), post.advance),
                     QStringLiteral("elköltve ") + FormatFloat(QString(), entry.spent)};
    if (!entry.documents.isEmpty())
        text.append(entry.documents);
    LogEvent(engine, {QStringLiteral("Elszámolás"), day.user, ValueOr(row.value(QStringLiteral("kassza")), 0), dromvel,
                      text.join(QStringLiteral(", "))});
    transaction.commit();
    return post;
}

QList<SettlementVoucher> SettlementVouchers(SettlementMethod method, double advance, double spent)
{
    QList<SettlementVoucher> vouchers;
    switch (method) {
    case SettlementMethod::ReceiptThenPayment:
        vouchers = {Voucher(true, advance, "Elszámolás visszavét: ", "Elszámolás visszavét"),
                    Voucher(false, spent, "Kiadás elszámolásra: ", "Elszámolás kiadása")};
        break;
    case SettlementMethod::Difference:
        vouchers = {Voucher(advance > spent, std::fabs(advance - spent), "Elszámolás: ", "Elszámolás")};
        break;
    case SettlementMethod::Nothing:
        break;
    }
    // A serial of a strict-accountability form is never spent on a voucher of nothing.
    vouchers.removeIf([](const SettlementVoucher &v) { return !SpentDiffers(v.amount, 0); });
    return vouchers;
}

SettlementGeneration GenerateSettlementVouchers(Engine &engine, const SettlementTarget &target,
                                                const QList<SettlementVoucher> &vouchers)
{
    SettlementGeneration generation;
    Transaction transaction(engine);
    const QVariantMap advance = ReadAdvanceRow(engine, target.advance);
    if (advance.isEmpty()) {
        generation.check = BookingCheck::NotFound;
        return generation;
    }
    for (const SettlementVoucher &voucher : vouchers) {
        const QVariantMap values = VoucherValues(voucher, advance, target);
        BookingResult result =
            BookVoucher(engine, -1, target.day, values, target.leavePending ? BookAs::Pending : BookAs::Booked);
        // The till cannot pay it now: it waits, numbered, for the money to be there.
        const bool heldBack = result.check == BookingCheck::NotEnoughMoney;
        if (heldBack)
            result = BookVoucher(engine, -1, target.day, values, BookAs::Pending);
        if (result.check != BookingCheck::Allowed) {
            generation.check = result.check;
            generation.vouchers.clear();
            return generation;
        }
        const QVariantMap stored = ReadVoucherRow(engine, result.dromvel);
        generation.vouchers.append(
            {result.dromvel,
             LedgerOps::VoucherNumber(stored.value(QStringLiteral("betujel")), stored.value(QStringLiteral("ssz"))),
             voucher.receipt, Text(stored, "kiadva") == Yes, heldBack});
    }
    transaction.commit();
    return generation;
}

bool SpentDiffers(double advance, double spent)
{
    return std::fabs(advance - spent) >= 0.005;
}
