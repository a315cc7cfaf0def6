#pragma once

#include "listframe.h"

// The booked advances of a till not yet settled, oldest due date first (qrElszamol).
class TqrElszamol
{
public:
    static constexpr double HeaderHeight = 22.2;

    static QString Title(); // "Elszámolásra váró tételek"
    // The query's fields and the calculated sorszam.
    static std::shared_ptr<SqlExportSource> Rows(Engine &engine, int till, const QString &formatFt);
    static Report::Document layout(const QString &tillName, const ListFrame::Context &context,
                                   std::shared_ptr<ExportSource> rows);
};
