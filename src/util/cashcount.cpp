#include "cashcount.h"

#include <QtMath>

namespace {

double Hundredths(double value)
{
    return double(qRound64(value * 100)) / 100;
}

} // namespace

const QList<int> &ForintDenominations()
{
    static const QList<int> denominations{20000, 10000, 5000, 2000, 1000, 500, 200, 100, 50, 20, 10, 5};
    return denominations;
}

CashCount CashCount::OfPieces(const QList<int> &pieces)
{
    CashCount count;
    const QList<int> &denominations = ForintDenominations();
    for (qsizetype i = 0; i < denominations.size(); ++i) {
        const int db = pieces.value(i, 0);
        count.lines.append({double(denominations.at(i)), db, double(denominations.at(i)) * db});
    }
    return count;
}

CashCount CashCount::OfAmounts(const QList<double> &amounts)
{
    CashCount count;
    for (double amount : amounts)
        count.lines.append({0, 0, Hundredths(amount)});
    return count;
}

double CashCount::total() const
{
    qint64 hundredths = 0;
    for (const CashCountLine &line : lines)
        hundredths += qRound64(line.osszeg * 100);
    return double(hundredths) / 100;
}

double CashCount::difference(double book) const
{
    return double(qRound64(total() * 100) - qRound64(book * 100)) / 100;
}
