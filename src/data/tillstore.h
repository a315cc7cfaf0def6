#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

class Engine;

// Reads and writes of the till rows (kassza) that the screens and services make. Engine errors propagate as
// EngineError.

// The till's last closed day; invalid when the till was never closed or does not exist.
QDate TillClosedUntil(Engine &engine, int till);
// Stores the balance the main window shows into the till's `most` when it differs from the stored one.
// `most` is only a copy of the balance, and showing a balance must not depend on writing: when the write
// cannot be made (another workstation holds the write lock beyond the busy timeout, a read-only file) it is
// skipped and false returned; the next balance display writes it.
bool StoreBalance(Engine &engine, int till, double balance);
// The till's letter code for payments (betujel_ki) or for everything else (betujel_be); empty when it has none.
QString TillLetterCode(Engine &engine, int till, bool payment);
// The till's currency text (valuta); empty when it has none.
QString TillCurrency(Engine &engine, int till);
// The most cash the till may hold at the end of a day (zaro_max); nothing when the till has no limit.
std::optional<double> TillCashLimit(Engine &engine, int till);
bool TillExists(Engine &engine, int till);
// The keys of every till, in key order.
QList<int> TillIds(Engine &engine);
