#pragma once

#include <windows.h>

class CWindowController;

// The Note Manager as the shell opens it: one modal window listing every
// note of the user.

// Runs the Note Manager with the request (0 for the plain window, else the
// alarm day as yyyymmdd); answers 0 once it has closed, -1 when it could not
// open (another of the program's dialogs is open and was brought forward).
int RunNoteManagerDialog(CWindowController& app, LPARAM request);
// Brings an open Note Manager forward with the request, or runs it.
int OpenNoteManager(CWindowController& app, LPARAM request);
// Before a restore, its undo or the program's end closes the notes: an open
// Note Manager lets go of its rows and closes.
void CloseNoteManagerBeforeNotesGo();

// What the shell lends the Note Manager, registered at start.
struct NoteManagerServices {
    // Brings another open dialog of the program forward: 1 when one was open.
    int (*activateOpenDialog)(bool alsoNoteManager) = nullptr;
    // The calendar's search text (empty when none) and its window.
    const char* (*calendarSearchText)() = nullptr;
    HWND (*calendarWindow)() = nullptr;
    // The General settings sheet on its hotkeys page for the group.
    void (*openGroupHotkeySettings)(int groupId) = nullptr;
};
void SetNoteManagerServices(const NoteManagerServices& services);
const NoteManagerServices& GetNoteManagerServices();
