#pragma once

#include "programerror.h"

// Every failure of packing a folder, copying a live database or restoring an archive: a file that cannot be read,
// an archive that cannot be written, a database that cannot be copied, an archive that is not the program's or is
// damaged. The message is Hungarian and names what failed.
class ArchiveError : public ProgramError
{
public:
    using ProgramError::ProgramError;
};
