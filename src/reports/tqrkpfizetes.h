#pragma once

#include "listframe.h"
#include "tfrm_idoszak.h"

// The booked cash payments per client and calendar month of a period, against the monthly limit (qrKpFizetes).
class TqrKpFizetes
{
public:
    static constexpr double HeaderHeight = 23.5;

    static QString Title(); // "Készpénzes kifizetések ügyfelenként"
    // One row per client and month: ugyfel_nev, honap, db, osszeg, tullepes; limit 0 marks none.
    static std::shared_ptr<SqlExportSource> Rows(Engine &engine, const DateRange &period, double limit,
                                                 const QString &formatFt);
    static Report::Document layout(const DateRange &period, double limit, const ListFrame::Context &context,
                                   std::shared_ptr<ExportSource> rows);
};
