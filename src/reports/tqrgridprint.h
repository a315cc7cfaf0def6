#pragma once

#include "exportsource.h"
#include "reportdocument.h"

#include <QDateTime>
#include <memory>

struct GridPrintOptions
{
    bool portrait = true;
    QString subtitle; // under the title, up to two lines; may be empty
    QString sumField; // the field whose sum prints under its column; empty for no totals line
    int fontSize = 8; // headings, rows and totals
    QString title;    // the heading and the page footer's title
};

// Any grid of the program as a plain list (qrGridPrint): one printed column per column the grid shows, in the
// grid's order, as wide against the page as on screen against the grid, the cells as the grid shows them. The rows
// and their columns come from the grid's row source (its statement read again, or its model). Widths are in report
// units of 0.3307 mm.
class TqrGridPrint
{
public:
    static constexpr double UnitMm = 0.3307;
    static constexpr int PortraitUnits = 575;
    static constexpr int LandscapeUnits = 838;
    static constexpr int Gap = 4; // units between two columns
    static constexpr double HeaderHeight = 30.1;
    static constexpr double RowHeight = 6.6;

    struct Placement
    {
        int left = 0; // units
        int width = 0;

        bool operator==(const Placement &) const = default;
    };
    // Where the given columns go, in the given order, on a page of the given reference width: each as wide as its
    // share of the grid's width (rounded to the nearest unit, halves to even), a gap after each; without a grid
    // width, the columns' widths together. Columns past the reference width stay where they fall, outside the
    // printable area.
    static QList<Placement> Place(const QList<ExportColumn> &columns, int gridWidth, int reference);

    static Report::Document layout(std::shared_ptr<ExportSource> rows, const GridPrintOptions &options,
                                   const QDateTime &printedAt);
};
