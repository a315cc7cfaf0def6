#include "util.h"

#include <functional>

namespace {

// Changes the first line that starts with the keyword; leading blanks deliberately do not match, so stored
// queries can keep an indented ORDER or WHERE line that must never be rewritten.
QString EditFirstLine(QStringList lines, QLatin1String keyword, const std::function<QString(const QString &)> &edit)
{
    for (QString &line : lines) {
        if (line.toUpper().startsWith(keyword)) {
            line = edit(line);
            break;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString SetOrderBy(const QStringList &lines, const QString &clause)
{
    return EditFirstLine(lines, QLatin1String("ORDER"),
                         [&](const QString &) { return QLatin1String("ORDER BY ") + clause + QLatin1Char(';'); });
}

QString SetWhere(const QStringList &lines, const QString &condition)
{
    return EditFirstLine(lines, QLatin1String("WHERE"),
                         [&](const QString &) { return QLatin1String("WHERE ") + condition; });
}

QString AppendToWhere(const QStringList &lines, const QString &text)
{
    return EditFirstLine(lines, QLatin1String("WHERE"), [&](const QString &line) { return line + text; });
}

QString SqlDateLiteral(bool monthDayYear, const QDate &date)
{
    if (!date.isValid())
        return QStringLiteral("''");
    const QString format = monthDayYear ? QStringLiteral("MM/dd/yyyy") : QStringLiteral("yyyy-MM-dd");
    return QLatin1Char('\'') + date.toString(format) + QLatin1Char('\'');
}
