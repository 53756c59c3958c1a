#pragma once

#include <windows.h>

// The note settings sheet of the real program as the tests open it from a note.

extern const char kNoteSheetCaption[];

// The open sheet and the page of it that the test works on.
struct NoteSheet {
    HWND sheet = nullptr;
    HWND page = nullptr;
};

// The page of the sheet that holds the control; null when none does (yet).
HWND PageWith(HWND sheet, int controlId);
// The note's Properties command, then the sheet once it shows with the page
// that holds the control; the page is null when they did not come in time.
NoteSheet OpenNoteSheet(HWND note, DWORD process, int controlId);
// Once the sheet shows its Alarm page (opened by a note's alarm command or
// a new alarm note), that page and the sheet; null when it did not come in time.
HWND OpenAlarmPage(DWORD process, HWND& sheet);
