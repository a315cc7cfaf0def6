#include "tqrgridprint.h"

#include "listreport.h"
#include "util.h"

#include <cmath>

using namespace Report;

QList<TqrGridPrint::Placement> TqrGridPrint::Place(const QList<ExportColumn> &columns, int gridWidth, int reference)
{
    if (gridWidth <= 0) {
        gridWidth = 0;
        for (const ExportColumn &c : columns)
            gridWidth += c.width;
    }
    QList<Placement> placed;
    int x = 0;
    for (const ExportColumn &c : columns) {
        // nearbyint rounds halves to even in the default rounding mode.
        const int w = gridWidth > 0 ? int(std::nearbyint(double(reference) * c.width / gridWidth)) : 0;
        placed.append({x, w});
        x += w + Gap;
    }
    return placed;
}

Document TqrGridPrint::layout(std::shared_ptr<ExportSource> rows, const GridPrintOptions &options,
                              const QDateTime &printedAt)
{
    const Font font{QStringLiteral("Arial"), double(options.fontSize)};
    Font italic = font;
    italic.italic = true;
    Font bold = font;
    bold.bold = true;

    ListReport r;
    r.title = options.title;
    r.fileName = options.title;
    r.reportName = QStringLiteral("qrGridPrint");
    r.setup.orientation = options.portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    r.footerPointSize = options.portrait ? 6 : 8;
    r.printedAt = printedAt;
    const double width = r.setup.printableSize().width();
    r.headerHeight = HeaderHeight;
    r.headerTop = [title = options.title, subtitle = options.subtitle] {
        Band b;
        b.add(Label(title, 0, 1.3, Font{QStringLiteral("Arial"), 16, true}), QStringLiteral("cim"));
        if (!subtitle.isEmpty())
            b.add(WrappedText(subtitle, QRectF(0, 9.3, 74.4, 9.6), ListFrame::Tahoma9Bold), QStringLiteral("alcim"));
        return b.elements;
    };
    r.headingTop = 72 * UnitMm;
    r.headingFont = italic;
    r.rowFont = font;
    const double top = 4 * UnitMm;
    r.rowTop = top;
    r.cellHeight = 13 * UnitMm;

    // The columns as the grid shows them; a cell's text is the grid's own.
    const QList<ExportColumn> all = rows->columns();
    const QList<int> shown = ShownColumns(all);
    QList<ExportColumn> visible;
    for (int at : shown)
        visible.append(all.at(at));
    const QList<Placement> placed =
        Place(visible, rows->gridWidth(), options.portrait ? PortraitUnits : LandscapeUnits);
    for (int i = 0; i < visible.size(); ++i) {
        const ExportColumn &c = visible.at(i);
        const double left = placed.at(i).left * UnitMm, cellWidth = placed.at(i).width * UnitMm;
        ListColumn column = ListColumn::Aligned(c.name, c.label, left, cellWidth, c.alignment(), ListColumn::Custom);
        column.text = [at = shown.at(i)](const ExportRow &row, int) { return row.text(at); };
        r.columns.append(column);
    }

    if (!options.sumField.isEmpty()) {
        r.sumFields = {options.sumField};
        r.summary = [visible, placed, bold, top, width, field = options.sumField](const ListTotals &totals) {
            Band s;
            s.height = RowHeight;
            s.add(Label(QStringLiteral("Összesen"), 5.3, top, bold), QStringLiteral("osszesen"));
            for (int i = 0; i < visible.size(); ++i)
                if (visible.at(i).name == field)
                    s.add(Label(FormatFloat(visible.at(i).numberFormat, totals.sums.at(0)), placed.at(i).left * UnitMm,
                                top, bold, placed.at(i).width * UnitMm, Qt::AlignRight),
                          QStringLiteral("osszesen_") + field);
            s.add(HorizontalLine(0, RowHeight, width), QStringLiteral("osszesen_vonal"));
            return s;
        };
    }
    r.rows = std::move(rows);
    return r.layout();
}
