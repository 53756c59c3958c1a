#pragma once

#include <windows.h>

#include <string>

// The keys of the settings pages' edits: Tab, Shift+Tab and Enter move
// through the page, Escape closes the sheet as Cancel, and an edit that takes
// only digits (and, for the ports, commas) beeps at anything else. The
// subclass goes with the edit.
enum class PageEditChars { kAny, kDigits, kDigitsAndComma };
void SubclassPageEdit(HWND edit, PageEditChars allowed);

// A control's text with the blanks on both sides removed, at most maxChars
// characters of it read.
std::string TrimmedItemText(HWND page, int id, int maxChars);

// A page's answer to the sheet's notification.
INT_PTR AnswerSheet(HWND page, LONG_PTR result);
// Whether a check box is checked, and setting one from a flag.
DWORD ItemChecked(HWND page, int id);
void CheckItem(HWND page, int id, DWORD on);
