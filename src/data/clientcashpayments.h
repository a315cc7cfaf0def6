#pragma once

#include <QDate>
#include <QStringList>

class Engine;

// Cash paid to one client in a calendar month, against the limit on cash payments between businesses. Only
// forint tills count (valuta empty, HUF or Ft).

// The usual limit when the settings hold none.
constexpr double DefaultMonthlyCashPaymentLimit = 1500000;

// The settings' monthly limit per client; 0 when no check is wanted.
double MonthlyCashPaymentLimit(Engine &engine);
// True when the till counts in forints.
bool IsForintTill(Engine &engine, int till);
// The booked payments to the client from the first to the last day of the day's month, in every forint till.
double ClientMonthCashPayments(Engine &engine, int ugyfel, const QDate &day);
// The list of the booked cash payments per client and calendar month between :ptol and :pig: ugyfel_nev, honap
// ("yyyy.mm"), db, osszeg and tullepes ("igen" above :plimit when it is above 0), in month and name order.
QStringList MonthlyCashPaymentLines();
