#include "store/RowOwnership.h"

#include "shell/ProgramGlobals.h"

RowOwnership CurrentRowOwnership()
{
    RowOwnership ownership;
    ownership.currentUserId = UserSettings().userId;
    return ownership;
}
