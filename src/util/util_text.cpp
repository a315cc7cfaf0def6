#include "codepage.h"
#include "util.h"

QString ReplaceChar(const QVariant &value, QChar from, QChar to)
{
    if (!value.isValid() || value.isNull())
        return {};
    return ReplaceChar(value.toString(), from, to);
}

QString ReplaceChar(const QString &text, QChar from, QChar to)
{
    QString result = text;
    result.replace(from, to);
    return result;
}

QString NthField(const QString &delimiters, const QString &text, int n)
{
    if (n < 1)
        return {};
    int field = 1;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !delimiters.contains(text.at(i)))
            continue;
        if (field == n)
            return text.mid(start, i - start);
        ++field;
        start = i + 1;
    }
    return {};
}

QString JoinLines(const QString &text, const QString &separator)
{
    if (text.isEmpty())
        return {};
    // A trailing line break does not start another line.
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (normalized.endsWith(QLatin1Char('\n')))
        normalized.chop(1);
    return normalized.split(QLatin1Char('\n')).join(separator);
}

QString SafeFileName(const QString &text)
{
    static const QString hyphenated = QStringLiteral(" !\"#%&'*+/:?@\\");
    const QList<uint> chars = text.toUcs4();
    // One UTF-32 unit gives exactly one Windows-1250 byte (unknown ones become "?").
    QByteArray bytes = ToWindows1250(text);
    if (bytes.size() != chars.size())
        bytes.clear();

    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const uint c = chars.at(i);
        if (c < 0x80 && hyphenated.contains(QChar(c))) {
            result += QLatin1Char('-');
            continue;
        }
        if (c < 0x80) {
            result += QChar(c);
            continue;
        }
        const uchar b = bytes.isEmpty() ? uchar('?') : uchar(bytes.at(i));
        if (b >= 0x81 || b == '?')
            result += QLatin1Char('_');
        else
            result += QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
    }
    return result.toLower();
}

QString RemoveChar(QChar c, const QString &text)
{
    QString result = text;
    result.remove(c);
    return result;
}

int CountChar(QChar c, const QString &text)
{
    return int(text.count(c));
}

QString RecordPositionText(int rowCount, int currentRow)
{
    return QString::number(rowCount) + QStringLiteral(": ") + QString::number(currentRow < 0 ? 0 : currentRow + 1);
}
