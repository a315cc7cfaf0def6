#include "listreport.h"

#include "pageflow.h"
#include "reportfonts.h"
#include "util.h"
#include "voucherdata.h"

using namespace Report;

namespace {

using CellText = std::function<QString(const ExportRow &, int)>;

// The text of each column's cell from a row of the given fields; a field the rows do not have prints nothing.
QList<CellText> CellTexts(const QList<ListColumn> &columns, const QStringList &fields)
{
    QList<CellText> texts;
    for (const ListColumn &c : columns) {
        const int at = int(fields.indexOf(c.name));
        if (c.kind == ListColumn::Custom) {
            texts.append(c.text);
            continue;
        }
        if (at < 0) {
            texts.append([](const ExportRow &, int) { return QString(); });
            continue;
        }
        switch (c.kind) {
        case ListColumn::Date:
            texts.append([at](const ExportRow &row, int) { return ShortDate(row.value(at).toDate()); });
            break;
        case ListColumn::Amount:
            texts.append(
                [at, format = c.format](const ExportRow &row, int) { return FormattedAmount(format, row.value(at)); });
            break;
        default:
            texts.append([at](const ExportRow &row, int) { return ValueOr(row.value(at), QString()); });
            break;
        }
    }
    return texts;
}

} // namespace

ListColumn ListColumn::Of(const QString &name, const QString &heading, double headingLeft, double left, double width,
                          Kind kind)
{
    ListColumn c;
    c.name = name;
    c.heading = heading;
    c.headingLeft = headingLeft;
    c.left = left;
    c.width = width;
    c.kind = kind;
    return c;
}

ListColumn ListColumn::Aligned(const QString &name, const QString &heading, double left, double width,
                               Qt::Alignment alignment, Kind kind, const QString &format)
{
    ListColumn c = Of(name, heading, left, left, width, kind);
    c.headingWidth = width;
    c.alignment = alignment;
    c.format = format;
    return c;
}

Document ListReport::layout() const
{
    Document doc;
    doc.title = title;
    doc.fileName = fileName;
    doc.setup = setup;
    const double width = setup.printableSize().width();

    PageBand header;
    header.height = headerHeight;
    header.build = [own = headerTop, columns = columns, headingTop = headingTop, font = headingFont,
                    height = headerHeight, width](const PageInfo &) {
        Band b;
        if (own)
            b.elements = own();
        for (const ListColumn &c : columns)
            b.add(Label(c.heading, c.headingLeft, headingTop, font, c.headingWidth, c.alignment),
                  QStringLiteral("fej_") + c.name);
        b.add(HorizontalLine(0, height, width), QStringLiteral("fej_vonal"));
        return b.elements;
    };
    const PageBand footer = ListFrame::Footer(setup, footerPointSize, title, reportName, printedAt);

    doc.stream = [report = *this, header, footer, width](const std::function<bool(const Page &)> &visit) {
        PageFlow flow(report.setup, header, footer, [&visit](Page &&page, const PageInfo &) { return visit(page); });
        QStringList fields;
        for (const ExportColumn &column : report.rows->columns())
            fields.append(column.name);
        QList<int> sumAt;
        for (const QString &field : report.sumFields)
            sumAt.append(int(fields.indexOf(field)));
        ListTotals totals;
        totals.sums.fill(0, sumAt.size());
        const int textAt = report.textField.isEmpty() ? -1 : int(fields.indexOf(report.textField));
        const double cellHeight = report.cellHeight > 0 ? report.cellHeight : LineHeight(report.rowFont);
        const auto texts = CellTexts(report.columns, fields);

        report.rows->read([&](const ExportRow &row) {
            ++totals.rows;
            for (int i = 0; i < sumAt.size(); ++i)
                if (sumAt.at(i) >= 0)
                    totals.sums[i] += ValueOr(row.value(sumAt.at(i)), 0.0);
            Band b;
            b.height = report.rowHeight;
            for (int i = 0; i < report.columns.size(); ++i) {
                const ListColumn &c = report.columns.at(i);
                b.add(ListFrame::Cell(texts.at(i)(row, totals.rows), c.left, report.rowTop, c.width, report.rowFont,
                                      cellHeight, c.alignment),
                      c.name);
            }
            const QString text = textAt < 0 ? QString() : ValueOr(row.value(textAt), QString());
            if (!text.isEmpty()) {
                const double height = WrappedHeight(report.rowFont, TextWidth, text);
                b.add(WrappedText(text, QRectF(TextLeft, TextTop, TextWidth, height), report.rowFont),
                      QStringLiteral("szoveg"));
                b.height = qMax(TextRowHeight, TextTop + height + report.rowTop);
            }
            if (report.rowLines)
                b.add(HorizontalLine(0, b.height, width), QStringLiteral("vonal"));
            return flow.addDetail(b);
        });
        flow.finish(report.summary ? report.summary(totals) : Band());
    };
    return doc;
}

ListReport PeriodListReport(const QString &title, const QString &reportName, const QString &subtitle, const QDate &from,
                            const QDate &to, const ListFrame::Context &context, double headerHeight)
{
    ListReport r;
    r.title = title;
    r.fileName = title + QLatin1Char(' ') + ListFrame::PeriodLine(from, to).remove(QLatin1Char(' '));
    r.reportName = reportName;
    r.printedAt = context.printedAt;
    r.headerHeight = headerHeight;
    r.headerTop = [title, subtitle, from, to, owner = context.owner, width = r.setup.printableSize().width()] {
        return ListFrame::PeriodTitleBlock(title, subtitle, from, to, owner, width);
    };
    r.headingTop = 18.5;
    r.headingFont = ListFrame::Tahoma8Italic;
    r.rowFont = ListFrame::Tahoma8;
    return r;
}
