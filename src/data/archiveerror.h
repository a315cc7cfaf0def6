#pragma once

#include "programerror.h"

// Every failure of packing a folder or copying a live database: a file that cannot be read, an archive that
// cannot be written, a database that cannot be copied. The message is Hungarian and names what failed.
class ArchiveError : public ProgramError
{
public:
    using ProgramError::ProgramError;
};
