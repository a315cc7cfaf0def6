#include "databaselistmodel.h"

#include "dblist.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

DatabaseListModel::DatabaseListModel(QObject *parent) : QAbstractTableModel(parent) {}

void DatabaseListModel::setEntries(const QStringList &entries)
{
    beginResetModel();
    m_rows.clear();
    for (const QString &entry : entries)
        m_rows.append({int(m_rows.size()), DatabaseList::EntryName(entry), DatabaseList::EntryFolder(entry)});
    endResetModel();
}

QStringList DatabaseListModel::entries() const
{
    QStringList result;
    for (const Row &r : m_rows)
        result.append(DatabaseList::EntryText(r.name, r.folder));
    return result;
}

int DatabaseListModel::appendRow(const QString &name, const QString &folder)
{
    int position = 0;
    for (const Row &r : m_rows)
        position = qMax(position, r.position + 1);
    const int index = int(m_rows.size());
    beginInsertRows({}, index, index);
    m_rows.append({position, name, folder});
    endInsertRows();
    return index;
}

void DatabaseListModel::setRow(int index, const QString &name, const QString &folder)
{
    m_rows[index].name = name;
    m_rows[index].folder = folder;
    emit dataChanged(this->index(index, 0), this->index(index, columnCount() - 1));
}

void DatabaseListModel::removeRowAt(int index)
{
    beginRemoveRows({}, index, index);
    m_rows.removeAt(index);
    endRemoveRows();
}

void DatabaseListModel::sortBy(int column)
{
    m_sortColumn = column;
    QCollator collator{QLocale(QLocale::Hungarian, QLocale::Hungary)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    // By what the column shows: a server entry by its server, not by its address's scheme.
    auto key = [column](const Row &r) { return column == FolderColumn ? DatabaseList::PlaceText(r.folder) : r.name; };

    QList<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return collator.compare(key(m_rows.at(a)), key(m_rows.at(b))) < 0; });

    emit layoutAboutToBeChanged();
    QList<Row> sorted;
    QList<int> newRow(m_rows.size());
    for (int i = 0; i < order.size(); ++i) {
        sorted.append(m_rows.at(order.at(i)));
        newRow[order.at(i)] = i;
    }
    m_rows = sorted;
    // The view's cursor stays on the same entry.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    for (const QModelIndex &index : from)
        to.append(this->index(newRow.at(index.row()), index.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged();
}

int DatabaseListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DatabaseListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant DatabaseListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const Row &r = m_rows.at(index.row());
    if (index.column() != FolderColumn)
        return r.name;
    return role == Qt::DisplayRole ? DatabaseList::PlaceText(r.folder) : r.folder;
}

QVariant DatabaseListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == FolderColumn ? QStringLiteral("elérési útvonal") : QStringLiteral("adatbázis");
}
