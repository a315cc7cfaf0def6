#include "resultgridmodel.h"

#include "engineerror.h"
#include "exportcolumn.h"
#include "pagedquery.h"

#include <QTimer>
#include <climits>

ResultGridModel::ResultGridModel(QObject *parent) : QAbstractTableModel(parent) {}

ResultGridModel::~ResultGridModel() = default;

void ResultGridModel::open(Engine &engine, const QString &select)
{
    close();
    auto query = std::make_unique<PagedQuery>(engine, select);
    QList<QVariantList> first = query->page(0, PageRows);
    beginResetModel();
    m_query = std::move(query);
    m_statement = select;
    m_fields = m_query->fieldNames();
    m_rows = int(first.size());
    m_counted = first.size() < PageRows;
    m_pages.insert(0, std::move(first));
    m_used.append(0);
    m_failed = false;
    endResetModel();
    // The first page shows before the rows are counted.
    if (!m_counted)
        QTimer::singleShot(0, this, &ResultGridModel::countRows);
}

void ResultGridModel::close()
{
    beginResetModel();
    m_query.reset();
    m_statement.clear();
    m_fields.clear();
    m_rows = 0;
    m_counted = false;
    m_pages.clear();
    m_used.clear();
    endResetModel();
}

void ResultGridModel::countRows()
{
    if (!m_query || m_counted)
        return;
    m_counted = true;
    qint64 total = 0;
    try {
        total = m_query->count();
    } catch (const EngineError &e) {
        emit readFailed(e.message());
        return;
    }
    const int rows = int(std::min<qint64>(total, INT_MAX));
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    }
}

void ResultGridModel::holdPages(bool hold)
{
    m_hold = hold;
    if (!hold && m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1), {Qt::DisplayRole});
}

bool ResultGridModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_query && !m_counted;
}

void ResultGridModel::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid())
        countRows();
}

const QList<QVariantList> *ResultGridModel::pageOf(int row) const
{
    const qint64 page = row / PageRows;
    auto it = m_pages.find(page);
    if (it != m_pages.end()) {
        m_used.removeOne(page);
        m_used.append(page);
        return &it.value();
    }
    if (m_failed || m_hold)
        return nullptr;
    try {
        it = m_pages.insert(page, m_query->page(page * PageRows, PageRows));
    } catch (const EngineError &e) {
        // Said once, after the painting that asked for the page; the grid shows what it has.
        m_failed = true;
        auto *self = const_cast<ResultGridModel *>(this);
        QMetaObject::invokeMethod(
            self, [self, message = e.message()] { emit self->readFailed(message); }, Qt::QueuedConnection);
        return nullptr;
    }
    m_used.append(page);
    if (m_used.size() > KeptPages)
        m_pages.remove(m_used.takeFirst());
    return &it.value();
}

int ResultGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ResultGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant ResultGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_query ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::TextAlignmentRole))
        return {};
    const QList<QVariantList> *page = pageOf(index.row());
    const qsizetype row = index.row() % PageRows;
    if (!page || row >= page->size())
        return {};
    const QVariant value = page->at(row).value(index.column());
    ExportColumn column;
    column.kind = KindOfType(value.metaType());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.alignment() | Qt::AlignVCenter);
    return DisplayText(column, value);
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return m_fields.value(section);
}
