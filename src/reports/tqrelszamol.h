#pragma once

#include "listframe.h"

// The booked advances of a till not yet settled, oldest due date first (qrElszamol).
class TqrElszamol
{
public:
    static constexpr double HeaderHeight = 22.2;

    static QString Title();        // "Elszámolásra váró tételek"
    static QString OverdueTitle(); // "Lejárt határidejű elszámolások"
    // The query's fields and the calculated sorszam; with a valid overdueOn only the advances whose deadline is
    // before that day.
    static std::shared_ptr<SqlExportSource> Rows(Engine &engine, int till, const QString &formatFt,
                                                 const QDate &overdueOn = QDate());
    static Report::Document layout(const QString &tillName, const ListFrame::Context &context,
                                   std::shared_ptr<ExportSource> rows, const QString &title = Title());
};
