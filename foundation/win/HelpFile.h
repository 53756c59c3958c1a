#pragma once

#include <windows.h>

// Opens the program's help file "qnpost.chm" at a topic; when HTML Help cannot
// show it the user is told "Unable to activate help". False then.
bool ShowHelpTopic(HWND owner, DWORD context);
