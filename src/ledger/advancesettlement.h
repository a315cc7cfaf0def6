#pragma once

#include "bookingcheck.h"
#include "ledgerops.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantMap>

class Engine;

// The settlement of an advance apart from any window: the checks before it, posting it, and the vouchers that even
// out the till when the amount spent differs from the advance. Each write is one transaction with its event log entry; none shows a message.

// Whether an advance may be settled now, and if not, why.
enum class SettlementCheck {
    Allowed,
    NotFound,       // the row is gone (deleted on another workstation)
    NotBooked,      // the advance is still pending
    NotAdvance,     // the row needs no settlement
    AlreadySettled, // the advance is settled already
    DayClosed,      // the open day is closed and back-dating is off: the vouchers would land on a closed day
};

// The checks of "Elszámol" on the row (empty when it is gone), in this order: booked, an advance, not yet settled;
// then, unless the day's rule lets vouchers onto any day, the open day of the till must be open.
SettlementCheck CheckSettlement(Engine &engine, const QVariantMap &row, int till, const BookingDay &day);
// The message for a refusal as the user sees it; empty for Allowed.
QString SettlementCheckText(SettlementCheck check);

// What the settlement form records on the advance.
struct SettlementEntry
{
    QDate date;        // elszamol_dat
    QString documents; // elszamol_biz
    double spent = 0;  // elszamol_tenyl_osszeg, the amount actually spent
};

struct SettlementPost
{
    SettlementCheck check = SettlementCheck::Allowed; // why nothing was stored, when it was not
    double advance = 0;                               // the advance's osszeg
    ClientSettlement client;                          // the client's total afterwards, for the limit warning
};

// Posts the settlement in one transaction: checks the row again under the write lock, marks it settled with the
// entry and takes the whole advance, whatever was spent, off the client's total. The caller shows the limit
// warning after it returns.
SettlementPost PostSettlement(Engine &engine, int dromvel, int till, const BookingDay &day,
                              const SettlementEntry &entry);

// How the difference between the advance and the amount spent is evened out (the setting metodus).
enum class SettlementMethod {
    ReceiptThenPayment = 0, // the whole advance back as a receipt, then the amount spent paid out
    Difference = 1,         // one receipt or payment of the difference
    Nothing = 2,
};

// One voucher a settlement generates.
struct SettlementVoucher
{
    bool receipt = true;
    double amount = 0;
    QString remarkPrefix; // szoveg, followed by the open day
    QString lineText;     // szoveg1
    QString typeCaption;  // the caption of the movement type chooser
    int kasszatip = -1;   // the chosen movement type

    bool operator==(const SettlementVoucher &) const = default;
};

// The vouchers of the method in the order they are generated; a voucher of 0 is left out.
QList<SettlementVoucher> SettlementVouchers(SettlementMethod method, double advance, double spent);

// Where the generated vouchers go and who writes them.
struct SettlementTarget
{
    int advance = 0; // the settled advance's dromvel
    int till = 0;    // the till the vouchers are booked into
    QString user;
    BookingDay day;            // the vouchers carry its open day
    bool leavePending = false; // "A generált bizonylatot(oka) hagyja függőben"
};

// A voucher as it was stored.
struct GeneratedVoucher
{
    int dromvel = 0;
    QString number; // betujel and serial, as VoucherNumber shows it
    bool receipt = true;
    bool booked = false;
    bool heldBack = false; // a payment the till's money could not cover, stored pending instead of booked
};

struct SettlementGeneration
{
    BookingCheck check = BookingCheck::Allowed; // why nothing was generated, when it was not
    QList<GeneratedVoucher> vouchers;
};

// Generates the vouchers in one transaction, each numbered by BookVoucher under the same lock and rules as a
// booking: booked, or pending with their numbers and balances when the target says so. A payment the till's money
// cannot cover is stored pending. Any other refusal of the booking check, or an engine error, leaves no voucher.
SettlementGeneration GenerateSettlementVouchers(Engine &engine, const SettlementTarget &target,
                                                const QList<SettlementVoucher> &vouchers);

// True when the amount spent differs from the advance by a fillér or more.
bool SpentDiffers(double advance, double spent);
