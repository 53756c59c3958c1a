// "&Unrestore...". This version puts nothing back: the request beeps.
#include <winsock2.h>

#include "shell/BackupRestore.h"

bool UndoRestore(CWindowController&)
{
    MessageBeep(0);
    return false;
}
