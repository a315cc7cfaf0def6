#include "delimitedwriter.h"

#include "devicebuffer.h"
#include "util.h"

#include <QDate>
#include <QIODevice>
#include <QLocale>
#include <algorithm>
#include <cmath>

bool DelimitedWriter::exported(qsizetype position) const
{
    return position >= m_options.exported.size() || m_options.exported.at(position);
}

QString DelimitedWriter::field(const QString &value) const
{
    QString line;
    appendField(line, value);
    return line;
}

void DelimitedWriter::appendField(QString &line, const QString &value) const
{
    const QString &quote = m_options.quote;
    if (!quote.isEmpty()) {
        line += quote;
        line += QString(value).replace(quote, quote + quote);
        line += quote;
        return;
    }
    const QChar separator = m_options.separator;
    const bool plain = std::none_of(value.cbegin(), value.cend(), [separator](QChar c) {
        return c == separator || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
    });
    if (plain) {
        line += value;
        return;
    }
    line += QLatin1Char('"');
    line += QString(value).replace(QLatin1Char('"'), QStringLiteral("\"\""));
    line += QLatin1Char('"');
}

QString DelimitedWriter::plainText(const ExportColumn &column, const QVariant &value) const
{
    if (column.kind == ExportKind::Memo) {
        if (!m_options.memoLines)
            return QStringLiteral("BLOB");
        return ReplaceChar(JoinLines(ValueOr(value, QString()), QStringLiteral("|")), m_options.separator,
                           QLatin1Char(','));
    }
    if (column.kind == ExportKind::Binary || value.typeId() == QMetaType::QByteArray)
        return QStringLiteral("BLOB");
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        // Whole amounts, the common case, need no digit rounding; a value whose shortest exact form has at most 15
        // digits and no exponent is already what the 15-digit general form gives.
        if (std::fabs(d) < 1e15 && d == std::trunc(d))
            return QString::number(qint64(d));
        QString shortest = QString::number(d, 'g', QLocale::FloatingPointShortest);
        const qsizetype digits = std::count_if(shortest.cbegin(), shortest.cend(), [](QChar c) { return c.isDigit(); });
        const qsizetype point = shortest.indexOf(QLatin1Char('.'));
        if (digits <= 15 && !shortest.contains(QLatin1Char('e'))) {
            if (point >= 0)
                shortest.replace(point, 1, m_decimalPoint);
            return shortest;
        }
        return FormatFloat(QString(), d);
    }
    case QMetaType::QDate:
        return QLocale().toString(value.toDate(), QLocale::ShortFormat);
    default:
        return value.toString();
    }
}

qint64 DelimitedWriter::write(ExportSource &source, QIODevice &device, const ExportControl &control)
{
    const QList<ExportColumn> columns = source.columns();
    const QString separator(m_options.separator);
    DeviceBuffer out(device);
    QByteArray &buffer = out.bytes();
    static const QByteArray crlf("\r\n");

    if (!m_options.noHeader) {
        QString header;
        for (qsizetype i = 0; i < columns.size(); ++i)
            if (exported(i))
                header += field(m_options.fieldNames ? columns.at(i).name : columns.at(i).label) + separator;
        m_encoder.append(buffer, header);
    }
    buffer += crlf;

    qint64 written = 0;
    QString line;
    source.read([&](const ExportRow &row) {
        if (control.stopped())
            return false;
        line.clear();
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (!exported(i))
                continue;
            appendField(line, plainText(columns.at(i), row.value(int(i))));
            line += separator;
        }
        m_encoder.append(buffer, line);
        buffer += crlf;
        out.flushWhenFull();
        control.written(++written);
        return true;
    });
    out.flush();
    return written;
}
