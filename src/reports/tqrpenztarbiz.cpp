#include "tqrpenztarbiz.h"

#include "vouchercopy.h"

using namespace Report;

Report::Document TqrPenztarbiz::layout(const QList<VoucherRow> &rows, const VoucherSettings &settings, bool csakEgyet)
{
    BandedReport report;
    report.title = QStringLiteral("Bevételi pénztárbizonylat");
    for (const VoucherRow &row : rows) {
        Band band;
        band.height = BandHeight;
        band.addCopy(VoucherCopy::Elements(row, settings, QStringLiteral("1. példány")), 0, 1);
        // The lines run through the middle of 4 mm strips: between the copies and under the second one.
        QList<Element> second = VoucherCopy::Elements(row, settings, QStringLiteral("2. példány"));
        Element cut = HorizontalLine(0, 93.9 + 2.0 - SecondCopyShift, VoucherCopy::Width);
        cut.name = QStringLiteral("vonal_kozep");
        Element closing = HorizontalLine(0, 190.5 + 2.0 - SecondCopyShift, VoucherCopy::Width);
        closing.name = QStringLiteral("vonal_also");
        second << cut << closing;
        band.addCopy(second, SecondCopyShift, 2);
        if (csakEgyet)
            band.hideCopy(2);
        report.details.append(band);
    }
    if (rows.size() == 1)
        report.fileName = QStringLiteral("Pénztárbizonylat %1").arg(rows.first().sorszam);
    return report.layout();
}
