#pragma once

#include <windows.h>

// The system's font dialog of the program, answered as a person answers it.

// What is chosen: the face and the size typed into their fields, and, with a
// key, the colour whose name starts with that letter picked from the colour
// list, which must hold that colour.
struct FontChoice {
    const char* face = nullptr;
    const char* size = nullptr;
    char colourKey = 0;
    COLORREF colour = 0;
};

// Once the dialog with that title shows: each field of the choice clicked
// and filled, then OK clicked. False when the dialog did not come, did not
// take the choices or did not go.
bool AnswerFontDialog(DWORD process, const char* title, const FontChoice& choice);
