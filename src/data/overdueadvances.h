#pragma once

#include <QDate>
#include <QList>
#include <QString>

class Engine;

// A booked advance not yet settled whose settlement deadline has passed.
struct OverdueAdvance
{
    int dromvel = 0;
    QString betujel;
    int ssz = 0;
    QString ugyfelNev;
    double osszeg = 0;
    QDate deadline; // elszamol_kell_dat
};

// The till's booked, unsettled advances whose deadline is before the day (an advance due on the day itself is
// not yet overdue), oldest deadline first.
QList<OverdueAdvance> OverdueAdvances(Engine &engine, int till, const QDate &day);
