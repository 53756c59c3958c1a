#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "globals/NoteStyle.h"

// The "Style text" dialog: a small rich-text editor for the text a style puts
// into a note, with format buttons and buttons that insert the date and time
// placeholders.
struct CStyleTextParams {
    int styleIndex = 0;
    CNoteStyle style;  // the style whose looks the editor takes
    std::string text;  // in and out: the rich text, empty for none
};

INT_PTR CALLBACK StyleTextDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// 1 after Save (the text in the parameters, unchanged when it was too long),
// 0 after Cancel, -1 when the dialog could not be shown.
INT_PTR RunStyleTextDialog(HWND owner, CStyleTextParams& params);

// The most a style's text holds, its terminator aside.
const size_t kMaxStyleTextBytes = CNoteStyle::kMaxTextBytes - 1;
// "Sorry, the text of the <what> is too large (<size in KBytes>)..." and the limit.
std::string StyleTextTooLargeMessage(const char* what, size_t size);
