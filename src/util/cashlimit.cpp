#include "cashlimit.h"

#include "util.h"

#include <QtMath>

double CashLimitExcess(double balance, const std::optional<double> &limit)
{
    if (!limit)
        return 0;
    const qint64 over = qRound64(balance * 100) - qRound64(*limit * 100);
    return over > 0 ? double(over) / 100 : 0;
}

QString CashLimitWarning(double balance, const std::optional<double> &limit, const QString &currency)
{
    const double excess = CashLimitExcess(balance, limit);
    if (excess <= 0)
        return {};
    const bool forint = currency.isEmpty() || currency.compare(QLatin1String("HUF"), Qt::CaseInsensitive) == 0 ||
                        currency.compare(QLatin1String("Ft"), Qt::CaseInsensitive) == 0;
    const QString unit = forint ? QStringLiteral("Ft") : currency;
    // Forints are shown whole unless some amount has fillérs.
    const auto whole = [](double value) { return qRound64(value * 100) % 100 == 0; };
    const bool fractions = !forint || !whole(balance) || !whole(*limit) || !whole(excess);
    const QString pattern = fractions ? QStringLiteral("### ### ##0.00") : QStringLiteral("### ### ##0");
    const auto amount = [&](double value) { return FormatFloat(pattern, value) + QLatin1Char(' ') + unit; };
    return QStringLiteral("A kassza pénzkészlete (%1) meghaladja a záró pénzkészlet maximumát (%2).\n"
                          "Túllépés: %3.")
        .arg(amount(balance), amount(*limit), amount(excess));
}
