#pragma once

#include <windows.h>

// The hidden main window: the hub through which note windows, the calendar,
// worker threads and a second start of the program reach the application object.
LRESULT CALLBACK MainFrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the main window's class ("MainWindowClassName6"); throws when the
// system refuses.
void RegisterMainWindowClass(HINSTANCE instance);
// Creates the hidden main window (which builds the application object); a
// failure is thrown.
HWND CreateMainWindow(HINSTANCE instance);
// Reads the system's whole-window dragging into the start-up values (at start,
// and when the main window learns that it changed).
void ReadFullWindowDrag();

// What error.txt says before the text of a box that was not shown because
// Windows was ending the session (no one waits for a box then).
extern const char kNotShownAtSessionEnd[];
