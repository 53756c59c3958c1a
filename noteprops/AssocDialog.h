#pragma once

#include <windows.h>

// "Associate note with applications": the other programs' windows on the
// screen and the note's present associations, one line each; the selected
// lines become the note's associations on OK.
INT_PTR CALLBACK AssocDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog for the note: 1 when OK replaced the note's entries of
// "AssociatedWithApps" (the caller writes apps.QPD), 0 when cancelled.
int RunAssocDialog(HWND owner, DWORD noteId);
