#pragma once

#include "sqlexportsource.h"

class Engine;
class LedgerModel;
class QTableView;

// The rows of the main window's ledger view for "Excelbe..." and "HTML export": the view's own statement (its till,
// filter and order) run again by the export, read to the end on a connection of its own; every field of the view
// and its calculated voucher number and short text, with the grid's titles, widths, hidden columns and column order,
// money in the given display pattern.
SqlExportSource LedgerExportSource(Engine &engine, const LedgerModel &model, const QTableView &grid,
                                   const QString &moneyFormat);
