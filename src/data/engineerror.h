#pragma once

#include "programerror.h"

class QSqlError;

// Every failure of the database engine surfaces as this error, carrying the engine's own message.
class EngineError : public ProgramError
{
public:
    using ProgramError::ProgramError;

    // The engine's own text of a failed statement or connection.
    static EngineError from(const QSqlError &error);
};
