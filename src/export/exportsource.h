#pragma once

#include "exportcolumn.h"

#include <QList>
#include <QVariant>
#include <functional>

// One row of a result set while it is read.
class ExportRow
{
public:
    virtual ~ExportRow() = default;
    // The plain value of a column: text, whole number, floating-point number or QDate; null when empty.
    virtual QVariant value(int column) const = 0;
    // The column's text as the grid shows it.
    virtual QString text(int column) const = 0;
};

// The rows an export writes: a result set read by a finished query of its own, in the caller's filter and order.
// Reading throws EngineError when the engine fails.
class ExportSource
{
public:
    virtual ~ExportSource() = default;

    // The fields, in field order.
    virtual QList<ExportColumn> columns() = 0;
    virtual qint64 rowCount() = 0;
    // Width in pixels of the grid that shows the rows, which the columns' widths are parts of; 0 without a grid.
    virtual int gridWidth() const { return 0; }
    // Hands the rows to `take` from the first on, until the end or until `take` returns false; the read is
    // finished when this returns. Returns the number of rows `take` accepted.
    virtual qint64 read(const std::function<bool(const ExportRow &row)> &take) = 0;
};

// How a running export is watched: `progress` hears after every written row how many are written so far (a dialog
// steps its progress bar and lets the window process its events there); when *stop turns true no further row is
// taken and what was written so far stays.
struct ExportControl
{
    std::function<void(qint64 rowsWritten)> progress;
    const bool *stop = nullptr;

    bool stopped() const { return stop && *stop; }
    void written(qint64 rows) const
    {
        if (progress)
            progress(rows);
    }
};
