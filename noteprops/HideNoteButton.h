#pragma once

#include <windows.h>

// The password prompt's split button "H&ide note" of a ringing note: a click
// on its right part opens the "... but remind again every:" menu, a click
// anywhere else presses it.

// The width of the part that opens the menu.
const int kHideNoteMenuPartWidth = 21;

// Whether a point of the button (client coordinates) lies on its menu part.
bool IsOnHideNoteMenuPart(HWND button, int x);

// Draws the button: the theme's push button under a visual style, else a
// classic frame; its text (the mnemonic shown only while keyboard cues are),
// a separator and a down-pointing triangle in the menu part; hover, pressed
// and focus states.
void DrawHideNoteButton(const DRAWITEMSTRUCT& item, bool hover);
