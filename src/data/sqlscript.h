#pragma once

#include "schema.h"

#include <QString>
#include <QStringList>

// A script of SQL statements split where the engine ends a statement.
struct SqlScript
{
    // Each complete statement with the blanks and comments before it and its closing semicolon, in order.
    // Statements of nothing but blanks and comments are left out.
    QStringList statements;
    // The text after the last complete statement: an unfinished statement, or only blanks and comments. Not run.
    QString rest;
};

// Splits the script at the semicolons that end a statement: a semicolon inside a string literal, a quoted
// identifier or a comment does not end one; on SQLite neither does one inside a trigger's BEGIN ... END body (its
// own tokenizer, sqlite3_complete, decides), on the server one inside a dollar-quoted body ($$ ... $$, $tag$ ...
// $tag$). Pure: no database is needed.
SqlScript SplitSqlScript(const QString &text, SqlDialect dialect = SqlDialect::Sqlite);

// True when the text holds nothing but blanks and comments.
bool IsBlankSql(const QString &text);

// The console's rule for a query: the text, without leading and trailing blanks and line breaks, begins with
// SELECT in any letter case.
bool IsQueryText(const QString &text);

// The one statement of a query text as a sub-query can hold it: without its closing semicolon and anything but
// blanks and comments after it. Throws EngineError when the text holds more than one statement.
QString QueryStatement(const QString &text, SqlDialect dialect = SqlDialect::Sqlite);
