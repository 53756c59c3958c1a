#pragma once

#include <windows.h>

// Opening links, documents, folders and programs for the user. Failures are
// shown in boxes or beeped; nothing here throws.

// A link or document: through the default browser when one is known, else
// through the shell (after a box saying that no browser was found).
void ShellOpen(HWND owner, const char* link);

// Runs the command with one argument (in quotation marks when it holds a
// blank) and waits up to 10 s for the new program to be ready for input.
// An argument with a quotation mark inside is refused, so that it can never
// add arguments of its own.
bool LaunchWithArgument(HWND owner, const char* commandLine, const char* argument, const char* workingFolder);
// The same without an argument; an empty working folder means the current one.
bool LaunchProcess(HWND owner, const char* commandLine, const char* workingFolder);

void OpenFolderInExplorer(HWND owner, const char* folder);
// A folder opens in Explorer, a program runs, anything else is opened by the
// shell with the arguments; a failure beeps.
void OpenFileOrFolder(HWND owner, const char* path, const char* arguments, const char* workingFolder);

// An Internet shortcut (.url) file: its address is opened and the file deleted.
void LaunchUrlFile(HWND owner, const char* path);
// A shortcut (.lnk) file: its target is opened with its arguments.
void LaunchShortcutFile(HWND owner, const char* path);
