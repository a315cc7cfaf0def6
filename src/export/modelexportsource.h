#pragma once

#include "exportsource.h"

class QAbstractItemModel;
class QTableView;

// The rows a small grid's model holds, read through the model: values from its edit role, texts as the grid shows
// them. Big result sets go through SqlExportSource instead, which does not keep the rows.
class ModelExportSource : public ExportSource
{
public:
    // With a grid, the columns take its widths and leave its hidden ones out of the page.
    explicit ModelExportSource(QAbstractItemModel &model, const QTableView *grid = nullptr);

    QList<ExportColumn> columns() override;
    qint64 rowCount() override;
    int gridWidth() const override;
    qint64 read(const std::function<bool(const ExportRow &row)> &take) override;

private:
    void fetchAll();

    QAbstractItemModel &m_model;
    const QTableView *m_grid;
};
