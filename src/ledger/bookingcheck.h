#pragma once

#include <QDate>
#include <QString>
#include <QVariantMap>

class Engine;
struct Session;

// How closely a booking keeps to the open day.
enum class DateRule {
    OpenDayOnly, // the voucher must be dated on the open day (back-dating off)
    UpToOpenDay, // on the open day or before it (the voucher form with back-dating on)
    AnyDay,      // on the row's own date, whatever that day's state ("Kész!" with back-dating on)
};

// The day a booking is judged against.
struct BookingDay
{
    QDate openDay;
    // The till's last closed day as the workstation knows it; invalid when never closed. A later day stored in
    // the till (another workstation closed it meanwhile) counts instead.
    QDate closedUntil;
    DateRule rule = DateRule::OpenDayOnly;
    QString user; // who books, for the event log
};

// The day the main window books onto: the session's open day and closed-until date; with back-dating on, a row
// books on its own date whatever that day's state.
BookingDay MainWindowDay(const Session &session);

// Whether a voucher may be booked now, and if not, why.
enum class BookingCheck {
    Allowed,
    NotFound,       // the row is gone (deleted on another workstation)
    AlreadyBooked,  // the row is booked already
    NoTill,         // its till does not exist
    NoMovementType, // its movement type does not exist
    NoClient,       // its client does not exist
    NoAmount,       // its amount is not above 0
    NotOpenDay,     // its date breaks the date rule
    DayClosed,      // its date is not later than the closed-until date
    NotEnoughMoney, // a payment larger than its till's balance
};

// The one decision whether a voucher may be booked now: the row still pending, its till, movement type and
// client existing, its amount above 0, its date against the open day and the closed-until date, and for a payment
// the money on hand in the row's till, checked in this order.
// row is the voucher as it would be booked (empty when it is gone). The voucher form and "Kész!" ask it before
// their questions; the booking asks it again under the write lock.
BookingCheck CheckBooking(Engine &engine, const QVariantMap &row, const BookingDay &day);

// The message for a refusal as the user sees it; empty for Allowed.
QString BookingCheckText(BookingCheck check);

// The till's closed-until date as stored, or the known one when that is later.
QDate LaterClosedUntil(Engine &engine, int till, const QDate &known);
// True when the day is later than the closed-until date (an invalid one: the till was never closed).
bool DayIsOpen(const QDate &day, const QDate &closedUntil);
// True when a payment of the amount takes more than the balance holds. An amount equal to the balance is
// allowed even where the balance is a sum of fractions that floating point cannot hold exactly.
bool ExceedsBalance(double amount, double balance);
