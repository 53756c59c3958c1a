#pragma once

#include <windows.h>

#include <string>

#include "support/ProgramDriver.h"

// Driving the running program's General settings sheet from outside.

// The sheet of the process once it is shown; null when it did not come.
HWND FindSettingsSheet(DWORD processId);
// Opens the sheet from the main window's command and shows the page; the
// page's window, or null.
HWND OpenSettingsPage(HWND main, DWORD processId, int pageIndex, HWND* sheet);
// The text of the message box the program shows over its sheet, answered
// with OK; empty when none came.
std::string AnswerBoxOverSheet(DWORD processId, HWND sheet);
// Whether the page's check box is checked.
bool Checked(HWND page, int id);
// Presses OK and waits for the sheet to close; false when it stayed.
bool PressSheetOk(HWND sheet);
// Ends the running program by a second start's "/close".
void CloseBySecondStart(const ProgramInstall& install, RunningProgram& program);
