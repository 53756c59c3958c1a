#include "notemanager/NoteManagerEntry.h"

int RunNoteManagerDialog(CWindowController&, LPARAM)
{
    return 0;
}

int OpenNoteManager(CWindowController& app, LPARAM request)
{
    return RunNoteManagerDialog(app, request);
}
