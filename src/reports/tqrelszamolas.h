#pragma once

#include "listframe.h"
#include "tfrm_idoszak.h"

// The settlement of the cash requests of a till over a period, in settlement order; A4 landscape (qrElszamolas).
class TqrElszamolas
{
public:
    static constexpr double HeaderHeight = 30.0;
    static constexpr double RowHeight = 7.9;

    static QString Title(); // "Készpénzigénylések elszámolása"
    // The query's fields and the calculated sorszam.
    static std::shared_ptr<SqlExportSource> Rows(Engine &engine, int till, const DateRange &period,
                                                 const QString &formatFt);
    static Report::Document layout(const TillHeading &till, const DateRange &period, const ListFrame::Context &context,
                                   std::shared_ptr<ExportSource> rows);
};
