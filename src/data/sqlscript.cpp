#include "sqlscript.h"

#include "engineerror.h"

#include <QByteArray>
#include <sqlite3.h>

namespace {

bool IsSqlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Position of the first character that is neither a blank nor inside a comment; an unfinished block comment runs
// to the end, as the engine reads it.
qsizetype SkipBlanksAndComments(const QByteArray &text, qsizetype from)
{
    qsizetype i = from;
    const qsizetype size = text.size();
    while (i < size) {
        if (IsSqlSpace(text.at(i))) {
            ++i;
        } else if (text.at(i) == '-' && i + 1 < size && text.at(i + 1) == '-') {
            const qsizetype end = text.indexOf('\n', i);
            i = end < 0 ? size : end + 1;
        } else if (text.at(i) == '/' && i + 1 < size && text.at(i + 1) == '*') {
            const qsizetype end = text.indexOf("*/", i + 2);
            i = end < 0 ? size : end + 2;
        } else {
            break;
        }
    }
    return i;
}

} // namespace

SqlScript SplitSqlScript(const QString &text)
{
    SqlScript script;
    QByteArray bytes = text.toUtf8();
    qsizetype start = 0;
    for (qsizetype i = bytes.indexOf(';'); i >= 0; i = bytes.indexOf(';', i + 1)) {
        // sqlite3_complete reads up to a NUL: end the text just after this semicolon for the question.
        char *data = bytes.data();
        const char after = data[i + 1];
        data[i + 1] = '\0';
        const bool complete = sqlite3_complete(data + start) != 0;
        data[i + 1] = after;
        if (!complete)
            continue;
        const QByteArray statement = bytes.mid(start, i + 1 - start);
        if (SkipBlanksAndComments(statement, 0) != statement.size() - 1)
            script.statements.append(QString::fromUtf8(statement));
        start = i + 1;
    }
    script.rest = QString::fromUtf8(bytes.mid(start));
    return script;
}

bool IsBlankSql(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return SkipBlanksAndComments(bytes, 0) == bytes.size();
}

bool IsQueryText(const QString &text)
{
    return text.trimmed().toUpper().startsWith(QStringLiteral("SELECT"));
}

QString QueryStatement(const QString &text)
{
    const SqlScript script = SplitSqlScript(text);
    if (script.statements.isEmpty())
        return text.trimmed();
    if (script.statements.size() > 1 || !IsBlankSql(script.rest))
        throw EngineError(QStringLiteral("Egyszerre egy lekérdezés futtatható; a szöveg több utasítást tartalmaz."));
    QString statement = script.statements.first().trimmed();
    statement.chop(1);
    return statement;
}
