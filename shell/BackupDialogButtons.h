#pragma once

#include <windows.h>

// The buttons the restore and unrestore dialogs share: Yes (IDOK) ends the
// dialog with 1, No (IDCANCEL) with 0, Help and F1 open the help topic. True
// when the message was one of these.
bool OnYesNoHelp(HWND dialog, UINT message, WPARAM wParam, DWORD helpTopic);
