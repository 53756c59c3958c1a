#pragma once

#include <windows.h>

// One instance of the program per session: found by its main window's class
// and a named mutex. A second start hands its command line to the first.

extern const char kInstanceMutexName[];   // "Quillnet_6_KELMLtd"

// Looks for the running instance's main window (of the class named) and creates
// the instance mutex; running is true when the mutex existed already or could
// not be made. The mutex stays open for the life of the process.
void CheckSingleInstance(const char* mainClassName, HWND* runningWindow, bool* running);

// Sends the running instance the request that the program's own arguments
// make (WM_COPYDATA), or shows why it cannot.
void ForwardCommandLineToRunningInstance(HWND runningWindow);

// Fast user switching: a marker file tells a later start in another session
// that this session still runs the program on the same data.
// Fills the marker's name; false when it would be too long (it is left empty).
bool BuildFastUserSwitchingFileName();
// True (after its message) when another session runs the program on the folder.
bool CheckFastUserSwitching(const char* folder);
// The marker's full path in the working folder; empty when it has no name.
const char* GetFastUserSwitchingMarkerPath();
