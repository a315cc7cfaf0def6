#pragma once

#include <QString>
#include <optional>

// The warning a booking or a day closing gives when it leaves the till's balance above the till's cash limit
// ("záró pénzkészlet maximuma"); empty when the till has no limit or the balance is within it. The amounts are
// compared to the hundredth, so a balance equal to the limit is within it.
QString CashLimitWarning(double balance, const std::optional<double> &limit, const QString &currency);

// The balance above the limit; 0 when there is no limit or the balance is within it.
double CashLimitExcess(double balance, const std::optional<double> &limit);
