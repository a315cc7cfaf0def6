#pragma once

#include "programerror.h"

class QSqlError;

// Every failure of the database engine surfaces as this error, carrying the engine's own message.
class EngineError : public ProgramError
{
public:
    using ProgramError::ProgramError;

    // The engine's own text of a failed statement or connection, after a Hungarian explanation when the failure
    // is a common one. A server's errors carry a five-character SQLSTATE, SQLite's a number.
    static EngineError from(const QSqlError &error);
    // A connection to a server that failed: libpq gives no SQLSTATE then, only its text.
    static EngineError fromServerConnection(const QSqlError &error);
};
