#include "codepage.h"
#include "delimitedwriter.h"
#include "fuzzexport.h"
#include "fuzztext.h"
#include "rowsexportsource.h"

#include <QBuffer>
#include <cmath>

namespace {

// Reads the file the way a spreadsheet program does: a field that starts with the quote character runs to the
// quote that is not doubled, anything else to the separator; every field, the last one too, ends in the
// separator, and every line in CR LF. Gives false when the text cannot be read that way.
bool ReadLines(const QString &text, QChar separator, QChar quote, QList<QStringList> &lines)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    QStringList fields;
    while (i < n) {
        if (text.mid(i, 2) == QLatin1String("\r\n")) {
            lines.append(fields);
            fields.clear();
            i += 2;
            continue;
        }
        QString field;
        if (text.at(i) == quote) {
            ++i;
            for (;;) {
                if (i >= n)
                    return false;
                if (text.at(i) == quote) {
                    if (i + 1 < n && text.at(i + 1) == quote) {
                        field += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text.at(i++);
            }
        } else {
            while (i < n && text.at(i) != separator && text.mid(i, 2) != QLatin1String("\r\n"))
                field += text.at(i++);
        }
        if (i >= n || text.at(i) != separator)
            return false;
        ++i;
        fields.append(field);
    }
    return fields.isEmpty();
}

} // namespace

// A delimited file of any values, with any of the separators and quotes the export dialog offers, splits back into
// exactly the fields that were written, each holding its value as the code page keeps it, and floating-point
// numbers read back as the numbers they were.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    UseHungarianNumbers();
    FuzzedDataProvider input(data, size);
    static const QList<QChar> separators{QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(','), QLatin1Char('|')};
    static const QStringList quotes{QStringLiteral("\""), QStringLiteral("'"), QString()};
    DelimitedOptions options;
    options.separator = separators.at(input.ConsumeIntegralInRange<qsizetype>(0, separators.size() - 1));
    options.quote = quotes.at(input.ConsumeIntegralInRange<qsizetype>(0, quotes.size() - 1));
    options.memoLines = input.ConsumeBool();
    options.fieldNames = input.ConsumeBool();
    options.noHeader = input.ConsumeBool();
    const int flags = input.ConsumeIntegralInRange(0, 63);
    for (int c = 0; c < 6; ++c)
        options.exported.append((flags & (1 << c)) == 0);
    const FuzzResultSet set = ResultSetFromFuzz(input);

    DelimitedWriter writer(options);
    RowsExportSource source(set.columns, set.rows, set.gridWidth);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Require(writer.write(source, buffer) == set.rows.size(), "every row is written");

    QList<QStringList> lines;
    const QChar quote = options.quote.isEmpty() ? QLatin1Char('"') : options.quote.at(0);
    Require(ReadLines(FromWindows1250(buffer.data()), options.separator, quote, lines), "the file reads back");
    Require(lines.size() == set.rows.size() + 1, "one line for the header and one for every row");

    QList<qsizetype> exported;
    for (qsizetype c = 0; c < set.columns.size(); ++c)
        if (c >= options.exported.size() || options.exported.at(c))
            exported.append(c);
    QStringList header;
    if (!options.noHeader)
        for (qsizetype c : exported)
            header.append(InCodePage(options.fieldNames ? set.columns.at(c).name : set.columns.at(c).label));
    Require(lines.first() == header, "the header holds the exported names");

    for (qsizetype r = 0; r < set.rows.size(); ++r) {
        const QStringList &fields = lines.at(r + 1);
        Require(fields.size() == exported.size(), "a row has one field for every exported column");
        for (qsizetype f = 0; f < exported.size(); ++f) {
            const ExportColumn &column = set.columns.at(exported.at(f));
            const QVariant &value = set.rows.at(r).at(exported.at(f));
            Require(fields.at(f) == InCodePage(writer.plainText(column, value)), "a field holds its value");
            // Fifteen digits of the very largest values round beyond the largest double.
            if (column.kind == ExportKind::Float && !value.isNull() && std::fabs(value.toDouble()) <= 1e300) {
                bool ok = false;
                const double read = QLocale().toDouble(fields.at(f), &ok);
                const QString detail =
                    QStringLiteral("value %1, field \"%2\"").arg(value.toDouble(), 0, 'g', 17).arg(fields.at(f));
                Require(ok, "a number reads as a number", detail);
                Require(std::fabs(read - value.toDouble()) <= std::fabs(value.toDouble()) * 1e-14,
                        "a number reads back to 15 digits", detail);
            }
        }
    }
    return 0;
}
