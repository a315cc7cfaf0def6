#include "exportcolumn.h"

#include "util.h"

#include <QDate>

QString DisplayText(const ExportColumn &column, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy.MM.dd"));
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        if (!column.numberFormat.isEmpty() || column.kind == ExportKind::Float)
            return FormatFloat(column.numberFormat, value.toDouble());
        return value.toString();
    case QMetaType::QByteArray:
        return QStringLiteral("BLOB");
    default:
        return value.toString();
    }
}
