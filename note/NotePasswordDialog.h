#pragma once

#include <windows.h>

#include <string>

// The password prompt of a protected note (dialogs 671 and 672): three tries
// at the note's password and, for a note whose alarm rings, a split button
// "H&ide note" that hides it, hides it to remind again later, or switches its
// alarm off.

// How the prompt ends.
enum NotePasswordPromptResult {
    kPromptHide = 0,              // Cancel, "H&ide note", skip, or three wrong passwords
    kPromptOpened = 1,            // rtf holds the note's plain rich text
    kPromptStopSearching = 3,
    kPromptHideAndRemind = 4,     // unit and value hold the chosen recurrence
    kPromptAlarmOffAndHide = 5,
};

// What the prompt is given and gives back.
struct CNotePasswordDialogParams {
    DWORD userId = 0;
    std::string body;            // a copy of the protected body
    std::string rtf;             // the opened note's rich text
    std::string passwordText;    // the password text that opened it
    char attachedFile[MAX_PATH] = "";  // deciphered with the note; empty for none
    RECT noteRect{};             // the note window on the screen
    DWORD ringing = 0;           // turns Cancel into the split button
    BYTE recurring = 0;
    BYTE unit = 0;               // the note's recurrence, then the one chosen
    BYTE value = 0;
    DWORD snoozeIndex = 0;       // the chosen item of the split button's menu
};

// Runs the prompt (IDD_NOTE_PASSWORD, or IDD_NOTE_PASSWORD_SEARCH while
// searching) modally, owned by the window; answers its result.
int RunNotePasswordPrompt(HWND owner, int templateId, CNotePasswordDialogParams& params);
INT_PTR CALLBACK NotePasswordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The prompt's title: a window of this title is a prompt that is open.
extern const char kNotePasswordPromptTitle[];
