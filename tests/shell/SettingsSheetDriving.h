#pragma once

#include <windows.h>

#include <string>

#include "support/HotkeyDriving.h"
#include "support/ProgramDriver.h"

// Driving the running program's General settings sheet from outside.

// The sheet of the process once it is shown; null when it did not come.
HWND FindSettingsSheet(DWORD processId);
// Once the program's main window is there, opens the sheet from its command
// and shows the page; the page's window, or null.
HWND OpenSettingsPage(const RunningProgram& program, int pageIndex, HWND* sheet);
// The text of the message box the program shows over its sheet (or over the
// other window, a dialog on the sheet), answered with the button; empty when
// none came.
std::string AnswerBoxOverSheet(DWORD processId, HWND sheet, int buttonId = IDOK, HWND other = nullptr);
// The first dialog of the process that is neither the sheet nor the other
// window, once one is shown within the time.
HWND FindOtherDialog(DWORD processId, HWND sheet, HWND other = nullptr, DWORD timeoutMs = kDriverWaitMs);
HWND CurrentSettingsPage(HWND sheet);
// Whether the page's check box is checked.
bool Checked(HWND page, int id);
// Presses OK (or Cancel) and waits for the sheet to close; false when it stayed.
bool PressSheetOk(HWND sheet);
bool PressSheetCancel(HWND sheet);

// A click on a page's button, as the user's mouse gives it: answered before
// this returns (false when the program did not answer in time), or posted
// when it opens a window that the test must answer first.
bool ClickPageButton(HWND page, int id);
void PostPageClick(HWND page, int id);
std::string PageItemText(HWND page, int id);
// Text typed into a page's edit (replacing what it held).
void SetPageItemText(HWND page, int id, const char* text);
// A key sent to a control as the keyboard gives it (down, then up), and a
// typed character.
void PressKey(HWND control, UINT key);
void TypeCharacter(HWND control, char character);
// The sheet's button (IDOK, IDCANCEL, ...), or the tab of a page, clicked by
// the mouse.
void ClickSheetButton(HWND sheet, int id);
void ClickSheetTab(DWORD processId, HWND sheet, int pageIndex);
// A trackbar of the page dragged to the position; the position it shows
// afterwards.
int MovePageSlider(HWND page, int id, int position);

// The set-password dialog, opened from the Security page's link; null when
// it did not come.
HWND OpenSetPasswordDialog(DWORD processId, HWND sheet, HWND page);
// The dialog's edit takes the focus and leaves it for the next control, as
// Tab does: the checks made on leaving an edit run.
void LeaveDialogEdit(HWND dialog, int id);
// The text of the box the dialog shows over the sheet, answered with OK, or
// empty once the dialog has closed without one.
std::string BoxOrClose(DWORD processId, HWND sheet, HWND dialog);

// A field of a record of one of the install's enciphered tables, as text
// without the blanks around it.
std::string StoredField(const std::string& table, DWORD record, const char* field);
// The record of the user who runs the tests (and the program) in the users
// table; 0 when there is none.
DWORD CurrentUserRecord(const std::string& usersTable);
