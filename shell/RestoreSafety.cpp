// What a restore and its undo make sure of before they replace any table.
#include <winsock2.h>

#include <string>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "shell/BackupRestore.h"
#include "shell/WindowController.h"
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

void ShowNotSavedFirst(HWND owner, const char* step, const char* nothingDone)
{
    ShowErrorMessage(owner,
                     (std::string("Your notes could not be saved before ") + step +
                      "; another program may be using the notes files.\r\n\r\n" + nothingDone)
                         .c_str(),
                     ProgramTitle);
}

bool RefusedWhileRestoring(CWindowController& app, bool tell)
{
    if (!app.IsRestoreInProgress())
        return false;
    if (tell)
        ShowWarningMessage(app.GetWindow(),
                           "A restore is still under way: please answer its password prompts first.\r\n\r\n"
                           "Nothing else was restored or undone.",
                           ProgramTitle);
    else
        WriteErrorLog("RefusedWhileRestoring():", "a restore asked for while another was under way was not made");
    return true;
}

std::string ListedFileNames(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names)
        list += "\r\n    " + name;
    return list;
}
