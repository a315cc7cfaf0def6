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

bool IsIdentifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || (c & 0x80);
}

// The dollar quote ("$$", "$body$") that starts at i; empty when none does ("$1" is a parameter).
QByteArray DollarQuoteAt(const QByteArray &text, qsizetype i)
{
    if (text.at(i) != '$' || (i > 0 && IsIdentifierChar(text.at(i - 1))))
        return {};
    qsizetype end = i + 1;
    while (end < text.size() && IsIdentifierChar(text.at(end)) && text.at(end) != '$')
        ++end;
    if (end >= text.size() || text.at(end) != '$' || (end > i + 1 && text.at(i + 1) >= '0' && text.at(i + 1) <= '9'))
        return {};
    return text.mid(i, end + 1 - i);
}

// The position just after the quoted text, comment or dollar-quoted body that starts at i (the end of the text
// when it is not closed); i itself when none starts there.
qsizetype SkipServerQuote(const QByteArray &text, qsizetype i)
{
    const qsizetype size = text.size();
    const char c = text.at(i);
    if (c == '\'' || c == '"') {
        // A doubled quote stands for itself.
        for (qsizetype end = text.indexOf(c, i + 1); end >= 0; end = text.indexOf(c, end + 2))
            if (end + 1 >= size || text.at(end + 1) != c)
                return end + 1;
        return size;
    }
    if ((c == '-' && text.mid(i, 2) == "--") || (c == '/' && text.mid(i, 2) == "/*"))
        return SkipBlanksAndComments(text, i);
    const QByteArray tag = DollarQuoteAt(text, i);
    if (tag.isEmpty())
        return i;
    const qsizetype end = text.indexOf(tag, i + tag.size());
    return end < 0 ? size : end + tag.size();
}

// The positions of the semicolons that end a statement.
QList<qsizetype> StatementEnds(QByteArray &bytes, SqlDialect dialect)
{
    QList<qsizetype> ends;
    if (dialect == SqlDialect::Server) {
        for (qsizetype i = 0; i < bytes.size();) {
            const qsizetype after = SkipServerQuote(bytes, i);
            if (after == i && bytes.at(i) == ';')
                ends.append(i);
            i = after > i ? after : i + 1;
        }
        return ends;
    }
    qsizetype start = 0;
    for (qsizetype i = bytes.indexOf(';'); i >= 0; i = bytes.indexOf(';', i + 1)) {
        // sqlite3_complete reads up to a NUL: end the text just after this semicolon for the question.
        char *data = bytes.data();
        const char after = data[i + 1];
        data[i + 1] = '\0';
        const bool complete = sqlite3_complete(data + start) != 0;
        data[i + 1] = after;
        if (complete) {
            ends.append(i);
            start = i + 1;
        }
    }
    return ends;
}

} // namespace

SqlScript SplitSqlScript(const QString &text, SqlDialect dialect)
{
    SqlScript script;
    QByteArray bytes = text.toUtf8();
    qsizetype start = 0;
    for (const qsizetype end : StatementEnds(bytes, dialect)) {
        const QByteArray statement = bytes.mid(start, end + 1 - start);
        if (SkipBlanksAndComments(statement, 0) != statement.size() - 1)
            script.statements.append(QString::fromUtf8(statement));
        start = end + 1;
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

QString QueryStatement(const QString &text, SqlDialect dialect)
{
    const SqlScript script = SplitSqlScript(text, dialect);
    if (script.statements.isEmpty())
        return text.trimmed();
    if (script.statements.size() > 1 || !IsBlankSql(script.rest))
        throw EngineError(QStringLiteral("Egyszerre egy lekérdezés futtatható; a szöveg több utasítást tartalmaz."));
    QString statement = script.statements.first().trimmed();
    statement.chop(1);
    return statement;
}
