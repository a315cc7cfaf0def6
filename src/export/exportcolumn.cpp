#include "exportcolumn.h"

#include "util.h"

#include <QDate>

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
