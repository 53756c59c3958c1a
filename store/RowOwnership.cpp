#include "store/RowOwnership.h"

#include "globals/ProgramGlobals.h"
#include "store/UsersTable.h"

RowOwnership CurrentRowOwnership()
{
    RowOwnership ownership;
    ownership.currentUserId = UserSettings().userId;
    CMemArray<CUserEntry>& users = UsersArray();
    for (DWORD id = 0; id < users.GetCount(); ++id)
        ownership.sharesNotes.push_back(users[id].sharesNotes != 0);
    return ownership;
}
