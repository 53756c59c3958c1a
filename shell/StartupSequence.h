#pragma once

#include <windows.h>

// The whole run of the program: start-up checks, the hidden main window, the
// message loop and the shut-down. Returns the exit code: 0 when start-up
// stops, ERROR_SHARING_VIOLATION when it stops because another program holds
// one of the data files.
int RunProgram(HINSTANCE instance);
