// What a restore and its undo make sure of before they replace any table.
#include <winsock2.h>

#include <string>

#include "foundation/CriticalSectionLock.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "shell/BackupRestore.h"
#include "store/NotesFiles.h"
#include "store/NotesTableLock.h"

bool InstallWaitingNotesPair(HWND owner, const char* nothingDone)
{
    {
        CCriticalSectionLock hold(NotesTableLock());
        if (FinishInterruptedRebuild())
            return true;
    }
    ShowErrorMessage(owner, (std::string(kRebuildWaitingText) + "\r\n\r\n" + nothingDone).c_str(), ProgramTitle);
    return false;
}

std::string ListedFileNames(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names)
        list += "\r\n    " + name;
    return list;
}
