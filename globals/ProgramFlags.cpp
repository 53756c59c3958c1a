#include "globals/ProgramFlags.h"

ProgramFlags& GetProgramFlags()
{
    static ProgramFlags flags;
    return flags;
}
