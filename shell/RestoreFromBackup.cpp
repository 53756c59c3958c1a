// Restores from a backup file and their undo. This version restores nothing:
// each request beeps and changes no note.
#include <winsock2.h>

#include "shell/BackupRestore.h"

bool RestoreFromBackup(CWindowController&, int, bool, const char*)
{
    MessageBeep(0);
    return false;
}

void RestoreFromCommandLine(CWindowController&, const char*, int, bool)
{
    MessageBeep(0);
}

bool UndoRestore(CWindowController&)
{
    MessageBeep(0);
    return false;
}
