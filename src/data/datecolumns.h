#pragma once

#include <QList>
#include <QVariant>

class QSqlRecord;

// The date fields of a result, found once per statement by their names, and each value as the program reads it:
// a date field's ISO text becomes a QDate; any other value, and a text that is no date (the flag
// dromvel.lezarva shares its name with a date field), stays as stored.
class DateColumns
{
public:
    DateColumns() = default;
    explicit DateColumns(const QSqlRecord &record);

    QVariant read(int position, QVariant stored) const;

private:
    QList<bool> m_date;
};
