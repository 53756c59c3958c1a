#pragma once

#include <windows.h>

// What the program learns about itself and its platform once, at start-up, and
// reads everywhere after. Only the start-up code writes these; tests set them
// directly.

struct WindowsVersionInfo {
    DWORD major = 0;
    DWORD minor = 0;
    char platformName[16] = "";     // "Windows NT", "Windows 98" or "Windows 95"
    bool isWindows2000 = false;     // NT 5.0
    bool isWindowsXp = false;       // NT 5.x after 5.0
    bool isVistaOrLater = false;    // NT 6 and every later major version
    DWORD commonControlsMajor = 0;
    DWORD commonControlsMinor = 0;
};

struct StartupValues {
    // The folder of the program file, in its long form, without a final "\".
    char programFolder[MAX_PATH] = "";
    // The default web browser's program path; empty when none was found.
    char defaultBrowser[MAX_PATH] = "";
    WindowsVersionInfo windows;
    // The program file's version: major, minor, release, build.
    WORD fileVersion[4] = {0, 0, 0, 0};
};

StartupValues& GetStartupValues();
