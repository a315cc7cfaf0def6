#include "util.h"

int YearOf(const QDate &date)
{
    return date.isValid() ? date.year() : 0;
}

int MonthOf(const QDate &date)
{
    return date.isValid() ? date.month() : 0;
}

int WeekOfYear(const QDate &date)
{
    return date.isValid() ? date.weekNumber() : 0;
}
