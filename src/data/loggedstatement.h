#pragma once

#include <QString>

class Engine;

// Runs one statement of the SQL console and logs it in the event log as the user's ("SQL parancs", the statement
// as its text). A statement that can run inside a transaction, run while no transaction is open, runs in one with
// its entry: both are stored or neither. A statement of a transaction the script opened itself logs into that
// transaction, so that its entry stays or goes with it; one that begins, ends or cannot run inside a transaction
// (BEGIN, COMMIT, ROLLBACK, SAVEPOINT, RELEASE, VACUUM, ATTACH, DETACH, PRAGMA; on the server START, ABORT and
// DISCARD too) runs first and is then logged
// into the transaction it left open, or alone. A failing statement throws EngineError and logs nothing.
void RunLoggedStatement(Engine &engine, const QString &statement, const QString &user);

// The statement's first word in capitals, after the blanks and comments before it.
QString FirstKeyword(const QString &statement);
