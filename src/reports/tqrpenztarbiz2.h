#pragma once

#include "reportdocument.h"
#include "voucherdata.h"

// The cash vouchers of a period: one copy per ledger row, three to a page.
class TqrPenztarbiz2
{
public:
    static constexpr double BandHeight = 91.9;
    // The voucher's copy moved up on the narrower top margin.
    static constexpr double HeadShift = -1.3;
    static constexpr double BodyShift = -2.7;

    static Report::Document layout(const QList<VoucherRow> &rows, const VoucherSettings &settings);
};
