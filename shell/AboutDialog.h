#pragma once

#include <windows.h>

// The About box: the program's picture, the version and the date of the
// program file in the caption, and two links (the web site, and a check for a
// newer version) that close the box and open their page in the browser.
void ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "About Quillnet+ v6.6 - " and the program file's date ("MMMM dd, yyyy", local
// time, in the user's language).
void MakeAboutTitle(const char* templateText, char* title, int size);
