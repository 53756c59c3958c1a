#pragma once

#include <windows.h>

// The program's help file "qnpost.chm", shown by HTML Help (loaded when first
// asked for, and kept loaded).

enum HelpCommand : UINT {
    kHelpDisplayContents = 0x0001,
    kHelpContext = 0x000F,
};

// The help window that HTML Help opened for the command; null when none opened.
HWND OpenHelpWindow(UINT command, DWORD_PTR data);

// Opens the help file at a topic; when HTML Help cannot show it the user is
// told "Unable to activate help". False then.
bool ShowHelpTopic(HWND owner, DWORD context);

// The help window opened for the command and kept above the other windows;
// when none opens, "Unable to activate help" in a box without a caption.
void OpenHelpOnTop(HWND owner, UINT command, DWORD_PTR data);
