#pragma once

#include "exportsource.h"
#include "listframe.h"

#include <functional>
#include <memory>

// One printed column of a list: its heading in the page header and its cell in every row.
struct ListColumn
{
    enum Kind { Text, Date, Amount, Custom };

    QString name; // the row's field the cell shows and the cell's element name; the heading's is "fej_" + name
    QString heading;
    double headingLeft = 0;
    double headingWidth = 0; // 0: as wide as the heading's text
    double left = 0;         // the cell
    double width = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
    Kind kind = Text; // a date in the short date format, an amount with the format
    QString format;   // of an amount
    // The cell's text of a Custom column; number counts the rows from 1.
    std::function<QString(const ExportRow &row, int number)> text;

    // A left-aligned column whose heading starts at headingLeft and whose cells start at left.
    static ListColumn Of(const QString &name, const QString &heading, double headingLeft, double left, double width,
                         Kind kind = Text);
    // A column whose heading stands over its cells, in the same box and alignment.
    static ListColumn Aligned(const QString &name, const QString &heading, double left, double width,
                              Qt::Alignment alignment, Kind kind = Text, const QString &format = QString());
};

// What the rows add up to, for the summary.
struct ListTotals
{
    QList<double> sums; // of ListReport::sumFields, in that order
    int rows = 0;
};

// A list laid out page by page while its rows are read: the page header (the report's own part, the column
// headings and a line under them), one band per row, the summary after the last row, the shared page footer.
// Only one page is held at a time, whatever the number of rows.
struct ListReport
{
    // A row's text printed under it on a line of its own, the row growing to hold it.
    static constexpr double TextLeft = 13.2;
    static constexpr double TextTop = 5.3;
    static constexpr double TextWidth = 163.0;
    static constexpr double TextRowHeight = 11.9; // the least height of a row with its text

    QString title; // print job, page footer
    QString fileName;
    QString reportName; // the footer's bottom right
    Report::PageSetup setup;
    double footerPointSize = 6;
    QDateTime printedAt;

    double headerHeight = 0;
    std::function<QList<Report::Element>()> headerTop; // the report's own part of the page header
    double headingTop = 0;
    Report::Font headingFont;

    QList<ListColumn> columns;
    Report::Font rowFont;
    double rowTop = 1.3;
    double rowHeight = 6.6;
    double cellHeight = 0; // 0: the row font's line
    bool rowLines = true;  // a line under every row
    // The field printed under each row on a line of its own when not empty; none when empty.
    QString textField;

    QStringList sumFields;
    std::function<Report::Band(const ListTotals &)> summary;

    // Read from the first row whenever the document is painted.
    std::shared_ptr<ExportSource> rows;

    Report::Document layout() const;
};

// A list of a period in portrait: the file named after the title and the period, the page header of
// PeriodTitleBlock (the title, subtitle under it, the period and the owner) in headerHeight, italic Tahoma 8
// headings at 18.5 and Tahoma 8 rows. The caller adds the columns, the sums and the rows.
ListReport PeriodListReport(const QString &title, const QString &reportName, const QString &subtitle, const QDate &from,
                            const QDate &to, const ListFrame::Context &context, double headerHeight);
