#pragma once

#include "reportdocument.h"
#include "voucherdata.h"

// The cash request for settlement of an advance: two identical copies on the left of an A4 page.
class TqrKpElszamol
{
public:
    static constexpr double BandHeight = 170.3;
    static constexpr double SecondCopyShift = 87.3;
    static constexpr double CopyWidth = 120.7;

    // One page per row, none without rows.
    static Report::Document layout(const QList<RequestRow> &rows, const VoucherSettings &settings);
};
