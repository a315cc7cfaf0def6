#include "delimitedwriter.h"

#include "devicebuffer.h"
#include "util.h"

#include <QDate>
#include <QIODevice>
#include <QLocale>
#include <cmath>

bool DelimitedWriter::exported(qsizetype position) const
{
    return position >= m_options.exported.size() || m_options.exported.at(position);
}

QString DelimitedWriter::field(const QString &value) const
{
    const QString &quote = m_options.quote;
    if (!quote.isEmpty()) {
        QString doubled = value;
        doubled.replace(quote, quote + quote);
        return quote + doubled + quote;
    }
    static const QString dq = QStringLiteral("\"");
    if (!value.contains(m_options.separator) && !value.contains(dq) && !value.contains(QLatin1Char('\n')) &&
        !value.contains(QLatin1Char('\r')))
        return value;
    QString doubled = value;
    doubled.replace(dq, QStringLiteral("\"\""));
    return dq + doubled + dq;
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
        // Whole amounts, the common case, need no digit rounding.
        if (std::fabs(d) < 1e15 && d == std::trunc(d))
            return QString::number(qint64(d));
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
            line += field(plainText(columns.at(i), row.value(int(i))));
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
