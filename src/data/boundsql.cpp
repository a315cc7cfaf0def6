#include "boundsql.h"

#include <QSqlDriver>
#include <QSqlField>

namespace {

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QString Literal(const QSqlDriver &driver, const QVariant &value)
{
    QSqlField field(QString(), value.metaType());
    field.setValue(value);
    const QString text = driver.formatValue(field);
    // After a minus sign a negative number would start a comment.
    return text.startsWith(QLatin1Char('-')) ? QLatin1Char('(') + text + QLatin1Char(')') : text;
}

// The end of the part that starts at `from` and is not looked into: a quoted text or name (a doubled quote
// inside it ends one part and starts the next, which reads the same), a comment; `from` itself otherwise.
qsizetype SkipUntouched(const QString &sql, qsizetype from)
{
    const qsizetype n = sql.size();
    const QChar c = sql.at(from);
    const QChar next = from + 1 < n ? sql.at(from + 1) : QChar();
    qsizetype end = from;
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        end = sql.indexOf(c, from + 1);
        return end < 0 ? n : end + 1;
    }
    if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
        end = sql.indexOf(QLatin1Char('\n'), from);
        return end < 0 ? n : end;
    }
    if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
        end = sql.indexOf(QStringLiteral("*/"), from + 2);
        return end < 0 ? n : end + 2;
    }
    return from;
}

} // namespace

QString BoundSql(const QSqlDriver &driver, const QString &sql, const QHash<QString, QVariant> &values)
{
    QString result;
    result.reserve(sql.size() + 16 * values.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype skipped = SkipUntouched(sql, i);
        if (skipped > i) {
            result += QStringView(sql).mid(i, skipped - i);
            i = skipped;
            continue;
        }
        const QChar c = sql.at(i);
        if (c == QLatin1Char(':') && i + 1 < n && IsNameStart(sql.at(i + 1)) &&
            (i == 0 || sql.at(i - 1) != QLatin1Char(':'))) {
            qsizetype end = i + 1;
            while (end < n && IsNameChar(sql.at(end)))
                ++end;
            result += Literal(driver, values.value(sql.mid(i, end - i)));
            i = end;
            continue;
        }
        result += c;
        ++i;
    }
    return result;
}
