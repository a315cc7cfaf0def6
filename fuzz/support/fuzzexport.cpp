#include "fuzzexport.h"

#include "codepage.h"

#include <QDate>
#include <cstring>

QString FuzzString(FuzzedDataProvider &input, size_t maxLength)
{
    const std::string bytes = input.ConsumeRandomLengthString(maxLength);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QString InCodePage(const QString &text)
{
    return FromWindows1250(ToWindows1250(text));
}

namespace {

QVariant ValueOfKind(FuzzedDataProvider &input, ExportKind kind)
{
    if (input.ConsumeIntegralInRange(0, 7) == 0)
        return {};
    switch (kind) {
    case ExportKind::Text:
    case ExportKind::Memo:
        return FuzzString(input, 64);
    case ExportKind::Integer:
        return QVariant::fromValue(input.ConsumeIntegral<qint64>());
    case ExportKind::Float: {
        // Raw bits as well, so NaN, infinities and subnormal values come too.
        if (input.ConsumeBool())
            return input.ConsumeFloatingPoint<double>();
        const auto bits = input.ConsumeIntegral<quint64>();
        double value;
        static_assert(sizeof value == sizeof bits);
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case ExportKind::Date:
        return QDate::fromJulianDay(input.ConsumeIntegralInRange<qint64>(-2'000'000, 6'000'000));
    case ExportKind::Binary: {
        const std::string bytes = input.ConsumeRandomLengthString(32);
        return QByteArray(bytes.data(), qsizetype(bytes.size()));
    }
    }
    return {};
}

} // namespace

FuzzResultSet ResultSetFromFuzz(FuzzedDataProvider &input)
{
    static const QStringList patterns{QString(), QStringLiteral("### ### ##0"), QStringLiteral("### ### ##0.00"),
                                      QStringLiteral("00000"), QStringLiteral("#,##0.##;-#,##0.##;nulla")};
    FuzzResultSet set;
    set.gridWidth = input.ConsumeIntegralInRange(0, 4000);
    const int columns = input.ConsumeIntegralInRange(1, 6);
    for (int c = 0; c < columns; ++c) {
        ExportColumn column;
        column.kind = static_cast<ExportKind>(input.ConsumeIntegralInRange(0, int(ExportKind::Binary)));
        column.name = FuzzString(input, 16);
        column.label = FuzzString(input, 24);
        const int pattern = input.ConsumeIntegralInRange(0, int(patterns.size()));
        column.numberFormat = pattern < patterns.size() ? patterns.at(pattern) : FuzzString(input, 16);
        column.visible = input.ConsumeIntegralInRange(0, 4) != 0;
        column.width = input.ConsumeIntegralInRange(0, 2000);
        column.position = input.ConsumeIntegralInRange(-1, columns);
        set.columns.append(column);
    }
    const int rows = input.ConsumeIntegralInRange(0, 16);
    for (int r = 0; r < rows && input.remaining_bytes() > 0; ++r) {
        QVariantList values;
        for (const ExportColumn &column : std::as_const(set.columns))
            values.append(ValueOfKind(input, column.kind));
        set.rows.append(values);
    }
    return set;
}
