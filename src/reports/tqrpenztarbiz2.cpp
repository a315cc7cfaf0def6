#include "tqrpenztarbiz2.h"

#include "vouchercopy.h"

using namespace Report;

Report::Document TqrPenztarbiz2::layout(const QList<VoucherRow> &rows, const VoucherSettings &settings)
{
    BandedReport report;
    report.title = QStringLiteral("qrPenztarbiz2");
    report.fileName = QStringLiteral("Pénztárbizonylatok");
    report.setup.margins = QMarginsF(10, 5, 10, 5);
    for (const VoucherRow &row : rows) {
        Band band;
        band.height = BandHeight;
        band.addCopy(VoucherCopy::Elements(row, settings, QStringLiteral("1. példány"), HeadShift, BodyShift), 0, 1);
        report.details.append(band);
    }
    return report.layout();
}
