#pragma once

#include <windows.h>

class CNoteController;

// The note window class "NotesClassName6", the small arrow class
// "UpDownClassName6" used inside notes, and the screen-capture class
// "QnPostScClassName". Registered once at start; throws when one cannot be.
void RegisterNoteWindowClasses(HINSTANCE instance);
// Whether this process has the note classes (a program that only reads and
// writes tables has not, and keeps its notes as records alone).
bool NoteWindowClassesRegistered();

LRESULT CALLBACK NoteWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK UpDownWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the window of a note; the window takes the note over and frees it
// when it is destroyed. Throws when the window cannot be created.
HWND CreateNoteWindow(CNoteController* note, DWORD extendedStyle, int x, int y, int width, int height);

// The note of a note window; null for any other window.
CNoteController* NoteOfWindow(HWND window);

// The most notes the program keeps.
const WORD kMaxNotes = 600;

// The number of live note windows: one more at each creation, one less at
// each destruction of a window that was counted.
LONG LiveNoteCount();
// Set while the program arranges notes in bulk (a cascade).
LONG& BulkArrangementFlag();
// Set while the screen-capture window exists.
bool& ScreenCaptureActive();

// While every note is closed in a row (at exit, before a restore), a note
// that is made active, shown or resized on the way is neither painted nor
// laid out again, nor does it take the focus: it goes a moment later, and
// what it holds was saved before.
class CNotesClosingTogether {
public:
    CNotesClosingTogether();
    ~CNotesClosingTogether();
    CNotesClosingTogether(const CNotesClosingTogether&) = delete;
    CNotesClosingTogether& operator=(const CNotesClosingTogether&) = delete;
};
