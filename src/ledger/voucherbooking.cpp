#include "voucherbooking.h"

#include "choosers.h"
#include "engine.h"
#include "eventlog.h"
#include "tillstore.h"
#include "util.h"
#include "voucherrows.h"

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

// What the event log tells of a voucher: its number, date, amount and text.
QString VoucherEventText(const QString &code, int serial, double amount, const QVariantMap &row)
{
    return QStringList{LedgerOps::VoucherNumber(code, serial),
                       row.value(QStringLiteral("dat_kiadva")).toDate().toString(QStringLiteral("yyyy.MM.dd.")),
                       FormatFloat(QString(), amount), Text(row, "szoveg")}
        .join(QLatin1Char(' '))
        .trimmed();
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

QString VoucherWriteText(VoucherWrite outcome)
{
    switch (outcome) {
    case VoucherWrite::Done:
        return QString();
    case VoucherWrite::NotFound:
        return QStringLiteral("A bizonylat már nem létezik: közben egy másik munkahelyen törölték.");
    case VoucherWrite::AlreadyBooked:
        return QStringLiteral("A bizonylat már le lett zárva.");
    }
    return QString();
}

BookingResult BookVoucher(Engine &engine, int dromvel, const BookingDay &day, const QVariantMap &values, BookAs as)
{
    BookingResult result;
    LedgerOps ops(engine);
    const bool book = as == BookAs::Booked;
    // The write lock is held from here to the commit: what is checked and the numbers read below cannot change
    // meanwhile on another workstation.
    Transaction transaction(engine);

    // A stored row is booked as it stands now with the given values over it; a new one is the values.
    QVariantMap row = dromvel > 0 ? ReadVoucherRow(engine, dromvel) : QVariantMap();
    if (dromvel <= 0 || !row.isEmpty()) {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            row.insert(it.key(), it.value());
    }
    result.check = CheckBooking(engine, row, day);
    // A pending voucher moves no money, so the money check does not hold it back.
    if (result.check == BookingCheck::NotEnoughMoney && !book)
        result.check = BookingCheck::Allowed;
    if (result.check != BookingCheck::Allowed)
        return result;

    const bool payment = Text(row, "kibe") == QLatin1String("K");
    const double amount = Amount(row, "osszeg");
    const QString code = Text(row, "betujel");
    // The balance of the row's own till, so that each till's chain of balances stays unbroken.
    const double balance = ops.TillBalance(Whole(row, "kassza"));
    result.advance = book && Text(row, "elszamol_kell") == Booked;
    const int bookingNumber = ops.NextMaxId(QStringLiteral("dromvelid"), QStringLiteral("dromvel"));
    if (result.advance)
        result.client = ops.ChangeClientSettlement(Whole(row, "ugyfel"), amount);
    // A voucher left pending with its serial (by a settlement) keeps it, so the letter code's serials run on
    // without a gap; one that has none, or whose serial a booked row holds, takes the next.
    const int heldSerial = Whole(row, "ssz");
    const int serial =
        heldSerial > 0 && !SerialBookedElsewhere(engine, code, heldSerial, dromvel) ? heldSerial : ops.NextSerial(code);

    const QDate date = row.value(QStringLiteral("dat_kiadva")).toDate();
    QVariantMap write = values;
    write.insert(QStringLiteral("kiadva"), book ? Booked : QStringLiteral("N"));
    write.insert(QStringLiteral("ssz"), serial);
    write.insert(QStringLiteral("elszamol_ssz"), result.advance ? ops.NextSettlementNumber() : 0);
    write.insert(QStringLiteral("nyito"), balance);
    write.insert(QStringLiteral("dromvelid"), bookingNumber);
    write.insert(QStringLiteral("idoszak"), date.toString(QStringLiteral("yyyyMM")));
    write.insert(QStringLiteral("datumstr"), date.toString(QStringLiteral("yyyyMMdd")));
    write.insert(QStringLiteral("zaro"), payment ? balance - amount : balance + amount);
    write.insert(QStringLiteral("bevetel"), payment ? 0.0 : amount);
    write.insert(QStringLiteral("kiadas"), payment ? amount : 0.0);
    if (dromvel > 0) {
        if (UpdatePendingRow(engine, dromvel, write) != 1)
            throw EngineError(QStringLiteral("A bizonylat könyvelése nem sikerült."));
        result.dromvel = dromvel;
    } else {
        result.dromvel = InsertVoucherRow(engine, write);
    }
    LogEvent(engine, {book ? QStringLiteral("Könyvelés") : QStringLiteral("Függő bizonylat számozása"), day.user,
                      Whole(row, "kassza"), result.dromvel, VoucherEventText(code, serial, amount, row)});
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

VoucherWrite DeletePendingVoucher(Engine &engine, int dromvel, const QString &user)
{
    Transaction transaction(engine);
    const QVariantMap row = ReadVoucherRow(engine, dromvel);
    const VoucherWrite outcome =
        DeletePendingRow(engine, dromvel) == 1 ? VoucherWrite::Done : WhyUnchanged(engine, dromvel);
    if (outcome == VoucherWrite::Done)
        LogEvent(engine, {QStringLiteral("Függő tétel törlése"), user, Whole(row, "kassza"), dromvel,
                          VoucherEventText(Text(row, "betujel"), Whole(row, "ssz"), Amount(row, "osszeg"), row)});
    transaction.commit();
    return outcome;
}
