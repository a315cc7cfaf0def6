#pragma once

#include <QDate>
#include <QString>

class Engine;

// The warnings of the cash controls, as the main window shows them; each is empty when there is nothing to warn of.

// At start-up: the till's advances past their settlement deadline (before the day), named one by one (the first
// ten, then how many more).
QString OverdueAdvancesWarning(Engine &engine, int till, const QDate &day);
// After a booking: a booked payment that brings its client's cash payments of the month above the settings' limit,
// with the month's total.
QString MonthlyCashPaymentWarning(Engine &engine, int dromvel);
// After a booking or a closing: the till's balance above its cash limit.
QString TillCashLimitWarning(Engine &engine, int till, double balance);
