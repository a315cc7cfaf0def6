#pragma once

#include "programerror.h"

// A file that cannot be written (or a spreadsheet the writer refuses), with a message for the user.
class ExportError : public ProgramError
{
public:
    using ProgramError::ProgramError;
};
