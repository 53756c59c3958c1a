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
    HINSTANCE instance = nullptr;
    // The folder of the program file, in its long form, without a final "\".
    char programFolder[MAX_PATH] = "";
    // The folder whose data files are used: the program folder, or the "/u="
    // user's folder inside it.
    char workingFolder[MAX_PATH] = "";
    char windowsFolder[50] = "";
    // The shell's ("explorer.exe") process, 0 when it was not found.
    DWORD shellProcessId = 0;
    // The default web browser's program path; empty when none was found.
    char defaultBrowser[MAX_PATH] = "";
    WindowsVersionInfo windows;
    // The program file's version: major, minor, release, build.
    WORD fileVersion[4] = {0, 0, 0, 0};
    // The computer's name and the logged-on user's name, which identify the
    // user's record in the users table.
    char computerName[MAX_COMPUTERNAME_LENGTH + 1] = "";
    char userName[257] = "";
    // The user named by "/u=" on the command line (at most 25 characters);
    // empty when the program was started without one.
    char commandLineUser[26] = "";
    // Set when the data folder holds the no-network marker: network and delayed
    // sending stay off for every user.
    bool noNetwork = false;
    // Whether windows are dragged whole (the system's setting), read at start
    // and again whenever the system says it changed.
    BOOL fullWindowDrag = FALSE;
    // Whether the system offers layered windows (SetLayeredWindowAttributes),
    // which every see-through window and transparency setting needs.
    bool layeredWindows = false;
};

StartupValues& GetStartupValues();
