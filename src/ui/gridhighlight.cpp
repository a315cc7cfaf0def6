#include "gridhighlight.h"

#include "uicolours.h"

#include <QHeaderView>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

// Dynamic property on the grid: the highlighted column, so delegates of other columns can ask for it.
const char *const HighlightProperty = "dromvelHighlightColumn";

// Fills the highlighted column unless the model paints the cell itself.
class ColumnColourDelegate : public QStyledItemDelegate
{
public:
    explicit ColumnColourDelegate(QTableView *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->backgroundBrush.style() != Qt::NoBrush)
            return;
        const QColor colour = GridColumnBackground(m_grid, index.column());
        if (colour.isValid())
            option->backgroundBrush = colour;
    }

private:
    QTableView *m_grid;
};

} // namespace

void HighlightColumn(QTableView *grid, int column)
{
    if (!grid)
        return;
    grid->setProperty(HighlightProperty, column);
    // Only replace the stock delegate: a view-wide delegate someone installed on purpose stays.
    QAbstractItemDelegate *current = grid->itemDelegate();
    if (!dynamic_cast<ColumnColourDelegate *>(current) &&
        (!current || current->metaObject() == &QStyledItemDelegate::staticMetaObject)) {
        grid->setItemDelegate(new ColumnColourDelegate(grid));
        if (current && current->parent() == grid)
            current->deleteLater();
    }
    grid->viewport()->update();
}

void HighlightColumn(QTableView *grid, const QString &fieldName)
{
    if (!grid)
        return;
    int column = -1;
    const QAbstractItemModel *model = grid->model();
    if (const auto *sql = qobject_cast<const QSqlQueryModel *>(model)) {
        column = sql->record().indexOf(fieldName);
    } else if (model) {
        for (int c = 0; c < model->columnCount(); ++c) {
            if (model->headerData(c, Qt::Horizontal).toString().compare(fieldName, Qt::CaseInsensitive) == 0) {
                column = c;
                break;
            }
        }
    }
    HighlightColumn(grid, column);
}

QColor GridColumnBackground(const QTableView *grid, int column)
{
    if (!grid)
        return {};
    bool ok = false;
    const int highlighted = grid->property(HighlightProperty).toInt(&ok);
    return ok && column >= 0 && highlighted == column ? HighlightColor() : QColor();
}
