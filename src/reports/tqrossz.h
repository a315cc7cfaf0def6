#pragma once

#include "listframe.h"
#include "tfrm_idoszak.h"

// Receipts, payments or the whole history of one till over a period (qrOssz).
class TqrOssz
{
public:
    enum Kind { Befizetesek = 1, Kifizetesek = 2, Kasszatortenet = 3 };

    static constexpr double HeaderHeight = 23.5;
    static constexpr double RowHeight = 6.6;
    static constexpr double TextRowHeight = 11.9; // the least height of a row with its text under it

    // "Pénztári befizetések időszakra", "Pénztári kifizetések időszakra", "Kasszatörténet".
    static QString Title(int kind);
    // The booked rows of the till in the period: the query's fields, then the calculated sorszam (and egyenleg
    // for the history); receipts only for kind 1, payments only for kind 2.
    static std::shared_ptr<SqlExportSource> Rows(Engine &engine, int kind, int till, const DateRange &period,
                                                 const QString &formatFt);
    static Report::Document layout(int kind, const QString &tillName, const DateRange &period,
                                   const ListFrame::Context &context, std::shared_ptr<ExportSource> rows);
};
