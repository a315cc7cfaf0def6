#include "ledgerexport.h"

#include "ledgermodel.h"
#include "ledgerops.h"

SqlExportSource LedgerExportSource(Engine &engine, const LedgerModel &model, const QTableView &grid,
                                   const QString &moneyFormat)
{
    SqlExportSource source(engine, model.sqlText());
    // Column i here is the model's column i: the view's fields, then its two calculated columns.
    source.setNumberFormat(moneyFormat)
        .addCalculated(QStringLiteral("sorszam"), model.headerData(model.sorszamColumn(), Qt::Horizontal).toString(),
                       ExportKind::Text,
                       [](const StoredRow &row) {
                           return LedgerOps::VoucherNumber(row.value(QStringLiteral("betujel")),
                                                           row.value(QStringLiteral("ssz")));
                       })
        .addCalculated(QStringLiteral("szoveg_rovid"),
                       model.headerData(model.szovegRovidColumn(), Qt::Horizontal).toString(), ExportKind::Text,
                       [](const StoredRow &row) { return LedgerModel::ShortText(row.value(QStringLiteral("szoveg"))); })
        .takeGridLayout(grid);
    return source;
}
