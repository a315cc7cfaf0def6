#pragma once

#include <QHash>
#include <QSet>
#include <QSqlQueryModel>

// Read-only rows of a list window. Columns given a number format show their values formatted and
// right-aligned, date columns show their dates as "yyyy.mm.dd"; the edit role keeps the stored value for searching
// and reading.
class ListQueryModel : public QSqlQueryModel
{
    Q_OBJECT

public:
    using QSqlQueryModel::QSqlQueryModel;

    // FormatFloat pattern of a column; an empty pattern shows the value as stored.
    void setColumnFormat(int column, const QString &pattern);
    void setDateColumn(int column) { m_dates.insert(column); }
    void clearColumnFormats()
    {
        m_formats.clear();
        m_dates.clear();
    }

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QHash<int, QString> m_formats;
    QSet<int> m_dates;
};
