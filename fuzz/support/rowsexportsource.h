#pragma once

#include "exportsource.h"

#include <QList>
#include <QVariantList>

// Rows held in memory, offered to the export writers as a result set; the texts are what a grid would show.
class RowsExportSource : public ExportSource
{
public:
    RowsExportSource(QList<ExportColumn> columns, QList<QVariantList> rows, int gridWidth = 0)
        : m_columns(std::move(columns)), m_rows(std::move(rows)), m_gridWidth(gridWidth)
    {}

    QList<ExportColumn> columns() override { return m_columns; }
    qint64 rowCount() override { return m_rows.size(); }
    int gridWidth() const override { return m_gridWidth; }
    qint64 read(const std::function<bool(const ExportRow &row)> &take) override;

private:
    QList<ExportColumn> m_columns;
    QList<QVariantList> m_rows;
    int m_gridWidth;
};
