#include "modelexportsource.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>

namespace {

class ModelRow : public ExportRow
{
public:
    ModelRow(const QAbstractItemModel &model, const QList<ExportColumn> &columns) : m_model(model), m_columns(columns)
    {}
    void setRow(int row) { m_row = row; }

    QVariant value(int column) const override
    {
        const QModelIndex index = m_model.index(m_row, column);
        const QVariant edit = m_model.data(index, Qt::EditRole);
        return edit.isValid() ? edit : m_model.data(index, Qt::DisplayRole);
    }
    QString text(int column) const override
    {
        const QVariant shown = m_model.data(m_model.index(m_row, column), Qt::DisplayRole);
        return shown.typeId() == QMetaType::QString ? shown.toString() : DisplayText(m_columns.at(column), shown);
    }

private:
    const QAbstractItemModel &m_model;
    const QList<ExportColumn> &m_columns;
    int m_row = 0;
};

} // namespace

ModelExportSource::ModelExportSource(QAbstractItemModel &model, const QTableView *grid) : m_model(model), m_grid(grid)
{}

void ModelExportSource::fetchAll()
{
    while (m_model.canFetchMore(QModelIndex()))
        m_model.fetchMore(QModelIndex());
}

QList<ExportColumn> ModelExportSource::columns()
{
    const auto *sqlModel = qobject_cast<const QSqlQueryModel *>(&m_model);
    QList<ExportColumn> result;
    for (int i = 0; i < m_model.columnCount(); ++i) {
        ExportColumn column;
        column.label = m_model.headerData(i, Qt::Horizontal).toString();
        column.name = sqlModel && i < sqlModel->record().count() ? sqlModel->record().fieldName(i) : column.label;
        if (m_model.rowCount() > 0) {
            const QModelIndex first = m_model.index(0, i);
            const QVariant edit = m_model.data(first, Qt::EditRole);
            column.kind = KindOfType((edit.isValid() ? edit : m_model.data(first, Qt::DisplayRole)).metaType());
        }
        if (m_grid) {
            column.visible = !m_grid->isColumnHidden(i);
            column.width = column.visible ? m_grid->columnWidth(i) : 0;
            column.position = m_grid->horizontalHeader()->visualIndex(i);
        }
        result.append(column);
    }
    return result;
}

int ModelExportSource::gridWidth() const
{
    return m_grid ? m_grid->width() : 0;
}

qint64 ModelExportSource::rowCount()
{
    fetchAll();
    return m_model.rowCount();
}

qint64 ModelExportSource::read(const std::function<bool(const ExportRow &row)> &take)
{
    const QList<ExportColumn> columnList = columns();
    fetchAll();
    ModelRow row(m_model, columnList);
    qint64 taken = 0;
    for (int r = 0; r < m_model.rowCount(); ++r) {
        row.setRow(r);
        if (!take(row))
            break;
        ++taken;
    }
    return taken;
}
