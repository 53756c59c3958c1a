#include "xmlfiles/BackupRestore.h"

bool BackupNotesToXml(CWindowController&, bool, const char*)
{
    return false;
}

bool RunScheduledBackup(CWindowController&)
{
    return false;
}

bool RestoreFromBackup(CWindowController&, int, int, const char*)
{
    return false;
}

bool RestoreFromCommandLine(CWindowController&, const COPYDATASTRUCT*, int, WPARAM)
{
    return false;
}

bool UndoRestore(CWindowController&)
{
    return false;
}
