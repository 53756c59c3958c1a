// Backups and restores as the tray menu, a second start and the program's end
// ask for them.
#include <winsock2.h>

#include <cstring>
#include <string>

#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "shell/BackupRestore.h"
#include "shell/WindowController.h"

bool CWindowController::OnBackupCommand(UINT id)
{
    if (id == kCmdBackupAll) {
        BackupNotesToXml(*this, true, "");
        return true;
    }
    if (id == kCmdUnrestore) {
        UndoRestore(*this);
        return true;
    }
    if (id >= kCmdFirstBackup && id <= kCmdLastBackup) {
        RestoreFromBackup(*this, static_cast<int>(id - kCmdFirstBackup), false, "");
        return true;
    }
    if (id >= kCmdFirstRescueBackup && id <= kCmdLastRescueBackup) {
        const size_t index = id - kCmdFirstRescueBackup;
        const std::vector<BackupListEntry>& rescues = m_restoreState.rescueList;
        if (index < rescues.size())
            RestoreFromBackup(*this, -1, false, std::string(rescues[index].path).c_str());
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
