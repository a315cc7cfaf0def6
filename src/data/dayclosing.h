#pragma once

#include <QDate>
#include <QStringList>
#include <optional>

struct CashCount;

class Engine;

// One day closing of a till as it was written, or why it was not.
struct DayClosing
{
    enum class Outcome {
        Closed,
        AlreadyClosed,  // the open day is not later than the till's closed-until date
        NothingToClose, // the till has no booked row that no closing has taken yet
    };
    Outcome outcome = Outcome::Closed;
    int zarbizonylat = 0; // the new closing record
    QDate from;           // dat_tol: the date of the first row closed
    QDate to;             // dat_ig: the date of the last row closed
    double nyito = 0;     // the balance before the first row closed
    double zaro = 0;      // the balance after the last row closed
    int rows = 0;         // rows stamped
    // The till's cash limit when it closed; nothing when it had none.
    std::optional<double> zaroMax;
};

// Closes the open day of the till in one transaction: under the write lock it reads the till's closed-until date
// and refuses when the open day is not later; takes the first and the last booked, unclosed row of the till in
// booking order and refuses when there is none; sets the till's closed-until date to the open day and its closing
// balance, writes a closing record with the next number, and stamps every booked, unclosed row of the till with
// it; the record keeps the till's cash limit of the moment. The closing is logged as the user's. Pending rows stay
// outside. Throws EngineError, and then nothing is changed.
// A cash count given is stored with the closing record in the same transaction.
DayClosing CloseDay(Engine &engine, int till, const QDate &openDay, const QString &user,
                    const CashCount *count = nullptr);

// True when the till has a booked row that no closing has taken yet.
bool HasRowsToClose(Engine &engine, int till);

// The closings of every till, one line per entry, in closing order: the record's number, its till's name and
// currency, its dates and balances, then its till.
QStringList ClosingListLines();
