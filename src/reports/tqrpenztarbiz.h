#pragma once

#include "reportdocument.h"
#include "voucherdata.h"

// The cash voucher: two copies of one ledger row on an A4 page, cut apart along the line between them.
class TqrPenztarbiz
{
public:
    static constexpr double BandHeight = 194.1;
    static constexpr double SecondCopyShift = 96.5;

    // One page per row, none without rows. csakEgyet hides the second copy and its lines; the page stays the same.
    static Report::Document layout(const QList<VoucherRow> &rows, const VoucherSettings &settings, bool csakEgyet);
};
