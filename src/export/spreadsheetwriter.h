#pragma once

#include "exportsource.h"

#include <QList>
#include <QString>

class QIODevice;

struct SpreadsheetOptions
{
    bool fieldNames = false; // header of field names instead of display labels
    QList<bool> exported;    // by field position; a field beyond the list is exported
};

// The xlsx workbook of one sheet: a header row (frozen, with a filter on it), one row per record, numbers as
// numbers in their display pattern, dates as dates ("yyyy.mm.dd"), each column as wide as its content.
// The sheet is streamed, so memory stays flat however many rows there are.
class SpreadsheetWriter
{
public:
    // Rows a sheet takes below its header.
    static constexpr qint64 MaxRows = 1048575;

    explicit SpreadsheetWriter(SpreadsheetOptions options) : m_options(std::move(options)) {}

    // Writes the workbook; returns the number of rows written. Throws EngineError when the rows cannot be read and
    // ExportError when the workbook cannot be made or the device cannot be written.
    qint64 write(ExportSource &source, QIODevice &device, const ExportControl &control = {});

private:
    SpreadsheetOptions m_options;
};

// The spreadsheet's number format for a display pattern of FormatFloat: "### ### ##0" -> "#,##0",
// "### ### ##0.00 Ft" -> "#,##0.00\" Ft\"", "00000" -> "00000"; empty gives empty (general).
QString SpreadsheetNumberFormat(const QString &pattern);
