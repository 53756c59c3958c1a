#pragma once

#include <windows.h>

// The small number edits of the settings pages with their up-down arrows
// (the Tab width, the days that backups are kept). Their values are read when
// the page is left or OK pressed, so a value set with the arrows alone counts.

// The edit's number (at most 3 digits read); 0 for an empty text.
unsigned ReadNumberEdit(HWND page, int editId);
// Tells the user "Please enter a value greater than zero" and puts the focus
// back into the edit.
void RefuseZeroInEdit(HWND page, int editId);
// Tells the user why the value is refused and puts the focus back into the edit.
void RefuseEditValue(HWND page, int editId, const char* text);
// Sizes the edit for the widest value text plus a margin, one text line high,
// puts its up-down control right of it and sets the arrows' range.
void PlaceNumberEdit(HWND page, int editId, int spinId, const char* widestText, int lowest, int highest);
