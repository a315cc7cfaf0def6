#include "engineerror.h"
#include "fuzztext.h"
#include "sqlscript.h"

#include <sqlite3.h>

namespace {

bool Complete(const QByteArray &text)
{
    return sqlite3_complete(text.constData()) != 0;
}

// No semicolon before the last one ends a statement.
bool EndsOnlyAtLast(const QByteArray &statement)
{
    for (qsizetype i = statement.indexOf(';'); i >= 0 && i < statement.size() - 1; i = statement.indexOf(';', i + 1))
        if (Complete(statement.left(i + 1)))
            return false;
    return true;
}

// The text ends where the engine ends a statement: its last semicolon is no part of a comment, as what follows
// it would then start a new statement. (A semicolon in a trailing "--" comment leaves the text complete too.)
bool EndsStatement(const QByteArray &text)
{
    return text.endsWith(';') && Complete(text) && !Complete(text + 'x');
}

// What may stand between two statements: nothing, or finished statements of blanks and comments.
bool SkippedBlank(const QByteArray &skipped)
{
    return skipped.isEmpty() ||
           (EndsStatement(skipped) && IsBlankSql(QString::fromUtf8(QByteArray(skipped).replace(';', ' '))));
}

// Where the statement starts: at the position reached, or after blank statements that were left out. A text equal
// to the statement inside a comment before it does not count.
qsizetype Next(const QByteArray &bytes, qsizetype from, const QByteArray &piece)
{
    for (qsizetype p = from; p >= 0 && p <= bytes.size() - piece.size(); p = bytes.indexOf(';', p) + 1) {
        if (bytes.mid(p, piece.size()) == piece && SkippedBlank(bytes.mid(from, p - from)))
            return p;
        if (bytes.indexOf(';', p) < 0)
            break;
    }
    return -1;
}

} // namespace

// Whatever is typed into the SQL console splits into statements that the engine sees end where they are cut, in
// the order typed, with nothing lost but statements of blanks and comments; the text after the last one never
// holds a finished statement.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FuzzText(data, size);
    const SqlScript script = SplitSqlScript(text);
    const QByteArray bytes = text.toUtf8();

    qsizetype at = 0;
    for (const QString &statement : script.statements) {
        const QByteArray piece = statement.toUtf8();
        Require(EndsStatement(piece) && EndsOnlyAtLast(piece), "the engine ends the statement at its last semicolon",
                statement);
        Require(!IsBlankSql(QString::fromUtf8(piece.chopped(1))), "a statement is more than blanks and comments");
        const qsizetype found = Next(bytes, at, piece);
        Require(found >= at, "the statements come in the order typed, with only finished blank ones between",
                statement);
        at = found + piece.size();
    }
    const QByteArray rest = script.rest.toUtf8();
    const QByteArray tail = bytes.mid(at);
    Require(tail.endsWith(rest), "the rest is the end of the text");
    Require(SkippedBlank(tail.chopped(rest.size())), "only finished blank statements are left out");
    Require(EndsOnlyAtLast(rest + ' '), "the rest holds no finished statement");

    (void)IsQueryText(text);
    try {
        (void)QueryStatement(text);
    } catch (const EngineError &) {
        Require(script.statements.size() + (IsBlankSql(script.rest) ? 0 : 1) > 1, "only several statements refused");
    }
    return 0;
}
