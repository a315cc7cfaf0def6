#pragma once

#include "reportdocument.h"
#include "voucherdata.h"

// One copy of the cash voucher, shared by the two-copy page and the period vouchers.
namespace VoucherCopy {

constexpr double BandWidth = 190.2;
constexpr double Width = 189.5;  // the outer frame and the dividing lines
constexpr double BodyTop = 15.9; // the outer frame's top: everything from here down is the body

// "A pénztár vételezzen be …" for receipts ('B'), "A pénztár fizessen …" for anything else.
QString InstructionLine(const QString &kibe);

// The elements of one copy at the layout positions. The part above the outer frame moves down by headShift,
// the body by bodyShift (negative: up).
QList<Report::Element> Elements(const VoucherRow &row, const VoucherSettings &settings, const QString &copyLabel,
                                double headShift = 0, double bodyShift = 0);

} // namespace VoucherCopy
