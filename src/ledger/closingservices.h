#pragma once

#include <QString>
#include <functional>
#include <memory>

class ExportSource;
class QWidget;

// What the day closing and the closings list hand their output to, per instance; the main window gives the
// program's own, tests replace them. An empty one is not offered.
struct ClosingServices
{
    // NapZarNyomtat: the cash report of a closing record, previewed, printed or exported.
    std::function<void(int zarbizonylat, QWidget *parent)> cashReport;
    // GridNyomtat: a grid's rows printed (print) or previewed under the title.
    std::function<void(std::shared_ptr<ExportSource> rows, bool print, const QString &title, QWidget *parent)>
        printGrid;
    // "Excelbe...": the rows into a delimited text or spreadsheet file, no file name proposed.
    std::function<void(ExportSource &rows, QWidget *parent)> exportRows;
    // "HTML export": the rows as a page with the given title, saved, opened or mailed.
    std::function<void(ExportSource &rows, const QString &title, QWidget *parent)> exportHtml;
};
