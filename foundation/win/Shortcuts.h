#pragma once

#include <windows.h>

#include <cstddef>

// Shortcut (.lnk) files made and read through the shell's link object. COM must
// be initialised on the calling thread.

// The target is taken as given when it holds ":\", else inside the working
// folder. Failures end quietly: false.
bool CreateShortcut(const char* shortcutPath, const char* target, const char* arguments, const char* workingFolder,
                    const char* description);
bool CreateShortcutInSpecialFolder(int csidl, const char* shortcutName, const char* target, const char* arguments,
                                   const char* workingFolder, const char* description);

// What a shortcut points at, into three texts of at least MAX_PATH characters.
// A failing step is shown in a box; false.
bool ReadShortcut(const char* shortcutPath, char* target, char* arguments, char* workingFolder);

// The first "*.LNK" of the special folder whose target and arguments, lower-
// cased, hold the two parts. Both answer true when one was found and when the
// folder is unknown, so that the caller makes nothing there; false when none
// matches. Shortcuts that cannot be read are passed over.
bool FindShortcutTo(int csidl, const char* targetPart, const char* argumentsPart);
// The same search; the shortcut found is deleted, waiting a moment for a
// program that reads it to let go (a failure goes to error.txt).
bool RemoveShortcutsTo(int csidl, const char* targetPart, const char* argumentsPart);

// The three Send To shortcuts that hand a chosen file's path to the program.
struct SendToShortcut {
    const char* name;
    const char* arguments;
    const char* description;
    const char* searchedSwitch;
};
extern const SendToShortcut kSendToShortcuts[3];

// Makes each Send To shortcut that is not there yet, pointing at "QNPOST.exe"
// in the program folder.
void CreateSendToShortcuts();
