#pragma once

#include <QList>
#include <QString>

// A cash count at the day closing ("Pénztárellenőrzés"): the pieces of each forint note and coin counted, or for
// a till in another currency the amounts counted line by line.

// The forint notes and coins in use, largest first.
const QList<int> &ForintDenominations();

struct CashCountLine
{
    double cimlet = 0; // the note or coin; 0 on a line of another currency
    int db = 0;        // pieces counted; 0 on a line of another currency
    double osszeg = 0; // cimlet × db, or the amount counted on the line
};

struct CashCount
{
    QList<CashCountLine> lines;

    // A forint count: one line per denomination with the pieces given (missing pieces count as 0).
    static CashCount OfPieces(const QList<int> &pieces);
    // A count of another currency: one line per amount.
    static CashCount OfAmounts(const QList<double> &amounts);

    // What was counted, to the hundredth.
    double total() const;
    // Counted less the book balance, to the hundredth: above 0 a surplus ("Többlet"), below 0 a shortage ("Hiány").
    double difference(double book) const;
};
