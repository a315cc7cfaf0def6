#include "listquerymodel.h"

#include "util.h"

#include <QDate>

void ListQueryModel::setColumnFormat(int column, const QString &pattern)
{
    m_formats.insert(column, pattern);
}

QVariant ListQueryModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole && m_dates.contains(index.column())) {
        const QVariant value = QSqlQueryModel::data(index, Qt::EditRole);
        const QDate date =
            value.typeId() == QMetaType::QDate ? value.toDate() : QDate::fromString(value.toString(), Qt::ISODate);
        return date.isValid() ? date.toString(QStringLiteral("yyyy.MM.dd")) : value.toString();
    }
    const auto format = m_formats.constFind(index.column());
    if (format == m_formats.constEnd())
        return QSqlQueryModel::data(index, role);
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant value = QSqlQueryModel::data(index, Qt::EditRole);
        return value.isNull() ? QString() : FormatFloat(*format, value.toDouble());
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return QSqlQueryModel::data(index, role);
    }
}
