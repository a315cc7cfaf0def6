#pragma once

#include "reportservices.h"
#include "tqrgridprint.h"

// Prints any grid as a list: to the default printer (print) or in the modal preview, through the services' output.
// rows: the grid's row source, which reads the grid's rows in its filter and order and knows its columns as the
// screen shows them (a statement source that took the grid's layout, or the model source of a small grid).
void GridNyomtat(std::shared_ptr<ExportSource> rows, bool print, const GridPrintOptions &options,
                 const ReportServices &services, QWidget *parent = nullptr);
