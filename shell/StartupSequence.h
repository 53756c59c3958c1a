#pragma once

#include <windows.h>

// The whole run of the program: start-up checks, the hidden main window, the
// message loop and the shut-down. Returns the exit code (0 when start-up stops).
int RunProgram(HINSTANCE instance);
