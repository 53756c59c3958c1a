#pragma once

#include <windows.h>

#include <string>

// Whether the windows this process makes show on its screen: a small window
// of a colour nothing else shows is put up and the screen is read back until
// the colour is there. A window handle alone proves nothing: a process whose
// desktop could not be made gets windows that never reach the screen, or
// none at all. Empty when they show; else the cause, in one line. Waits at
// most the time given while the screen is slow to show it.
std::string WindowsShowOnScreen(DWORD timeoutMs);

// The time a test program gives its screen to show its first window.
const DWORD kDesktopWaitMs = 60000;
// The exit code of a test program that found no working desktop: its tests
// did not run, and the test script makes the desktop again and runs it once
// more.
const int kNoDesktopExitCode = 75;
