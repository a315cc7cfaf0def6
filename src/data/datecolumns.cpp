#include "datecolumns.h"

#include "schema.h"

#include <QDate>
#include <QSqlRecord>

DateColumns::DateColumns(const QSqlRecord &record)
{
    m_date.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        m_date.append(Schema::IsDateField(record.fieldName(i)));
}

QVariant DateColumns::read(int position, QVariant stored) const
{
    if (m_date.value(position) && stored.typeId() == QMetaType::QString) {
        const QDate date = QDate::fromString(stored.toString(), Qt::ISODate);
        if (date.isValid())
            return date;
    }
    return stored;
}
