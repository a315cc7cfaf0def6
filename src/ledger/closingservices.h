#pragma once

#include "reportservices.h"

#include <QString>
#include <functional>

class ExportSource;
class QWidget;

// What the closings list hands its output to, per instance; the main window gives the program's own, tests replace
// the ones they script.
struct ClosingServices
{
    // The output chooser, preview, printer and report export of the cash report and of the grid print.
    ReportServices reports;
    // "Excelbe...": the rows into a delimited text or spreadsheet file, no file name proposed.
    std::function<void(ExportSource &rows, QWidget *parent)> exportRows;
    // "HTML export": the rows as a page with the given title, saved, opened or mailed.
    std::function<void(ExportSource &rows, const QString &title, QWidget *parent)> exportHtml;
};
