#pragma once

#include "cashcount.h"
#include "listframe.h"

#include <optional>

// The cash report of one day closing, "Időszaki pénztárjelentés" (qrNapZar): the closing's rows with a running
// number, the ruled summary of turnover and balances with the attachments and signatures, and the cash-count
// form, empty or filled from the closing's count.
class TqrNapZar
{
public:
    static constexpr double HeaderHeight = 34.4;
    static constexpr double RowHeight = 6.3;
    static constexpr double SummaryHeight = 79.0;

    // The receipts and payments the closing holds, from their count queries.
    struct Counts
    {
        int bevetel = 0;
        int kiadas = 0;
    };

    static QString Title(); // "Időszaki pénztárjelentés"
    // The ledger rows of the closing (the query's fields with the closing's own and the calculated sorszam);
    // a closing without rows gives none.
    static std::shared_ptr<SqlExportSource> Rows(Engine &engine, int zarbizonylat, const QString &formatFt);
    static Counts ReadCounts(Engine &engine, int zarbizonylat);
    // A cash count given fills the "Pénztárellenőrzés" form and the counted, surplus and shortage lines.
    static Report::Document layout(const ClosingHeading &closing, const Counts &counts,
                                   const ListFrame::Context &context, std::shared_ptr<ExportSource> rows,
                                   const std::optional<CashCount> &cashCount = std::nullopt);
};
