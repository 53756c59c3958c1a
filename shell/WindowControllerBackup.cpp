// Backups and restores as the tray menu, a second start and the program's end
// ask for them. What the backup code cannot do is never reported as done: a
// command of the tray menu that did nothing beeps.
#include <winsock2.h>

#include <cstring>
#include <string>

#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "shell/WindowController.h"
#include "xmlfiles/BackupRestore.h"

namespace {
void BeepUnlessDone(bool done)
{
    if (!done)
        MessageBeep(0);
}
}

bool CWindowController::OnBackupCommand(UINT id)
{
    if (id == kCmdBackupAll) {
        BeepUnlessDone(BackupNotesToXml(*this, true, ""));
        return true;
    }
    if (id == kCmdUnrestore) {
        BeepUnlessDone(UndoRestore(*this));
        return true;
    }
    if (id >= kCmdFirstBackup && id <= kCmdLastBackup) {
        BeepUnlessDone(RestoreFromBackup(*this, static_cast<int>(id - kCmdFirstBackup), 0, ""));
        return true;
    }
    return false;
}

// "/backup" with or without a name for the file.
void CWindowController::BackupFromCommandLine(const COPYDATASTRUCT* request)
{
    std::string name;
    if (request && request->lpData) {
        const char* data = static_cast<const char*>(request->lpData);
        name.assign(data, strnlen(data, request->cbData));
    }
    BackupNotesToXml(*this, false, name.c_str());
}

// The user's automatic backup at the end of a run.
void CWindowController::BackupIfAutomatic()
{
    if (UserSettings().autoBackup)
        BackupNotesToXml(*this, false, "");
}
