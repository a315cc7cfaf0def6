#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The rows of the database list editor, in display order: name and folder of each entry. A server entry's path
// shows as its server and database (DatabaseList::PlaceText); the edit role gives the path as stored.
class DatabaseListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn, FolderColumn };

    struct Row
    {
        int position = -1; // the entry's place in the ini when loaded, from 0
        QString name;
        QString folder;
    };

    explicit DatabaseListModel(QObject *parent = nullptr);

    // Entries as stored in the ini ("name;folder;").
    void setEntries(const QStringList &entries);
    // Entries in display order, as they are written back.
    QStringList entries() const;

    const Row &row(int index) const { return m_rows.at(index); }
    // Index of the new row.
    int appendRow(const QString &name, const QString &folder);
    void setRow(int index, const QString &name, const QString &folder);
    void removeRowAt(int index);

    // Re-sorts by the column in Hungarian order without regard to case; equal values keep their order.
    void sortBy(int column);
    int sortColumn() const { return m_sortColumn; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Row> m_rows;
    int m_sortColumn = NameColumn;
};
