#include "exportcolumn.h"

#include "util.h"

#include <QDate>
#include <algorithm>
#include <climits>

QList<int> ShownColumns(const QList<ExportColumn> &columns)
{
    QList<int> shown;
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (columns.at(i).visible)
            shown.append(int(i));
    const auto place = [&columns](int i) { return columns.at(i).position >= 0 ? columns.at(i).position : INT_MAX; };
    std::stable_sort(shown.begin(), shown.end(), [&place](int a, int b) { return place(a) < place(b); });
    return shown;
}

bool IsNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

ExportKind KindOfType(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return ExportKind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return ExportKind::Float;
    case QMetaType::QDate:
        return ExportKind::Date;
    case QMetaType::QByteArray:
        return ExportKind::Binary;
    default:
        return ExportKind::Text;
    }
}

QString DisplayText(const ExportColumn &column, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (IsNumber(value))
        return !column.numberFormat.isEmpty() || column.kind == ExportKind::Float
                   ? FormatFloat(column.numberFormat, value.toDouble())
                   : value.toString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy.MM.dd"));
    case QMetaType::QByteArray:
        return QStringLiteral("BLOB");
    default:
        return value.toString();
    }
}
