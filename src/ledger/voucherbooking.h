#pragma once

#include "bookingcheck.h"
#include "ledgerops.h"
#include "voucherrows.h"

#include <QDate>
#include <QString>
#include <QVariantMap>

class Engine;
struct KasszaTipChoice;
struct UgyfelChoice;

// The life of a voucher row apart from any window: its starting values, storing it pending, booking it and
// deleting it. Every write that must see the current numbers runs in one transaction, so two workstations on
// one database never take the same dromvelid, ssz or elszamol_ssz, and a failure leaves nothing half-written.
// None of these shows a message; the callers ask their questions before and tell the outcome after.

// The values of a new voucher of the till: the movement type's direction and settlement flag, the client with
// the settlement deadline of its days, the till's letter code for the direction ("XX" when it has none),
// zero numbers and every flag 'N'.
QVariantMap NewVoucherValues(Engine &engine, int till, const QString &user, const KasszaTipChoice &type,
                             const UgyfelChoice &client, const QDate &today);

enum class VoucherWrite {
    Done,
    NotFound,      // the row is gone (deleted on another workstation)
    AlreadyBooked, // the row was booked meanwhile
};

// The message for a refused write, as the user sees it; empty for Done.
QString VoucherWriteText(VoucherWrite outcome);

struct BookingResult
{
    BookingCheck check = BookingCheck::Allowed; // why nothing was booked, when it was not
    int dromvel = -1;
    bool advance = false;    // elszamol_kell 'I'
    ClientSettlement client; // the advance total after the booking, for the limit warning
};

// How BookVoucher leaves the voucher.
enum class BookAs {
    Booked,
    // Numbered as a booking numbers it (booking number, serial, balances) but left pending: it moves no money, so
    // the money check does not hold it back, and an advance's total and settlement number wait for its booking.
    Pending,
};

// Books a voucher in one transaction: re-reads the row (dromvel > 0) and applies the given values over it (for a
// new row, dromvel <= 0, the values are the whole row), checks it against the day with CheckBooking under the
// write lock, then takes the booking number, the serial of the letter code (a row that already holds a serial no
// booked row has keeps it) and for an advance the settlement number, adds the advance to the client's total, and
// writes the row with its balances and logs it as day.user's. The caller shows the limit warning (WarnOverLimit) after
// it returns. Inside a caller's transaction it is one step of that transaction.
BookingResult BookVoucher(Engine &engine, int dromvel, const BookingDay &day, const QVariantMap &values = {},
                          BookAs as = BookAs::Booked);

// Stores a pending voucher: a new row (dromvel <= 0) is inserted and its key returned in dromvel; an existing
// row is updated only while it is still pending. Throws EngineError.
VoucherWrite SavePendingVoucher(Engine &engine, int &dromvel, const QVariantMap &values);

// Moves a pending row to another date; refuses a row that is gone or booked.
VoucherWrite MovePendingVoucher(Engine &engine, int dromvel, const QDate &date);

// Deletes a pending row and logs it as the user's; refuses a booked one. A row that is already gone counts as
// NotFound.
VoucherWrite DeletePendingVoucher(Engine &engine, int dromvel, const QString &user);
