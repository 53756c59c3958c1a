#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/ProgramDriver.h"

// Notes of the real program as the tests find and drive them from outside.

extern const char kMainClass[];
extern const char kNoteClass[];

// Every note window of the process, shown or not, in the order of the system's list.
std::vector<HWND> NoteWindows(DWORD process);
// The note's body, its rich edit.
HWND BodyOf(HWND note);
RECT RectOf(HWND window);
// A note of the process not among the known ones, once it is made: shown,
// with its body (a window is listed from the start of its creation, before
// its body). Null when none came within the time.
HWND NewNoteBesides(DWORD process, const std::vector<HWND>& known);
// The note that the main window's New note command makes, once it is shown
// with its body; null when none came within the time.
HWND NewNoteFromMainWindow(HWND main, DWORD process);
// Every note of the process but the kept ones hidden, again until a pass
// finds none of the others shown once the main window has answered: the
// program's start may still bring a note of its own to the front.
void HideNotesBesides(DWORD process, HWND main, const std::vector<HWND>& kept);
// A click in the middle of the note's body, as the mouse gives it; true once
// the note is in front with the keyboard's focus (and the caret) in its body.
bool ClickIntoBody(HWND note);
// Types the text at the start of the note's body, as the keyboard would.
void TypeAtStart(HWND note, const std::string& text);
// The note whose body reads the text; null when there is none (yet).
HWND NoteWithText(DWORD process, const std::string& text);
HWND WaitForNoteWithText(DWORD process, const std::string& text);
// The note whose body's text starts with the text, once there is one; null
// when none came within the time.
HWND WaitForNoteStarting(DWORD process, const std::string& start);
// The main window once it answers. Its creation, which loads the notes, may
// still be under way: it answers while it waits on another program (the
// tray, when it adds its icon), before the start gives its first note the
// focus.
HWND WaitForMainWindow(const RunningProgram& program);
// True once a note of the process is in front, as the start's last step puts
// its first shown note, and has read X's notices of that focus: a click on a
// note made before then loses the focus to that note again.
bool WaitForTheStartsFocus(DWORD process);
// A second start with the arguments, awaited to its end.
void RunToEnd(const ProgramInstall& install, const std::string& arguments);
// The note that "/new" with the text makes from a second start, once it shows
// the text; null when it did not come.
HWND NewNoteFromCommandLine(const ProgramInstall& install, DWORD process, const std::string& text);
// The bytes of "/backup" run on a program started on an install of its own
// data files, whose notes the caller stores first; empty when none came.
std::string BackupMadeByProgram(const std::function<void(const ProgramInstall&)>& storeNotes);
// The tray's "&Unrestore..." chosen and its dialog answered Yes; false when
// the dialog did not come.
bool AskForUnrestore(HWND main, DWORD process);
// The same, and the text of the program's box that follows.
std::string UnrestoreAnsweringYes(HWND main, DWORD process);
// The note's delete command, its question answered yes when it asks; true
// once the note has gone from the screen.
bool DeleteNoteWindow(HWND note, DWORD process);
// "/close" from a second start; the program must end with code 0.
void CloseProgram(const ProgramInstall& install, RunningProgram& program);
// The colour of the screen's pixel at the point.
COLORREF ScreenPixel(POINT point);
// Colours within 8 of each other in every channel.
bool CloseColour(COLORREF a, COLORREF b);
