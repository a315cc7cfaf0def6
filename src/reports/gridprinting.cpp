#include "gridprinting.h"

void GridNyomtat(std::shared_ptr<ExportSource> rows, bool print, const GridPrintOptions &options,
                 const ReportServices &services, QWidget *parent)
{
    services.output(TqrGridPrint::layout(std::move(rows), options, QDateTime::currentDateTime()), !print, parent);
}
