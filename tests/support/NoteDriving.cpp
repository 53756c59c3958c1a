#include "support/NoteDriving.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "globals/MainWindowMessages.h"
#include "support/NoticeReading.h"

const char kMainClass[] = "MainWindowClassName6";
const char kNoteClass[] = "NotesClassName6";

std::vector<HWND> NoteWindows(DWORD process)
{
    return TopWindowsOf(process, kNoteClass);
}

HWND BodyOf(HWND note)
{
    return FindWindowExA(note, nullptr, "RichEdit20A", nullptr);
}

RECT RectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

void HideNotesBesides(DWORD process, HWND main, const std::vector<HWND>& kept)
{
    EXPECT_TRUE(WaitUntil([&] {
        SendWithTimeout(main, WM_NULL, 0, 0);
        bool noneShown = true;
        for (HWND note : NoteWindows(process))
            if (std::find(kept.begin(), kept.end(), note) == kept.end() && IsWindowVisible(note)) {
                ShowWindow(note, SW_HIDE);
                noneShown = false;
            }
        return noneShown;
    }));
}

bool ClickIntoBody(HWND note)
{
    const RECT place = RectOf(BodyOf(note));
    ClickAt({(place.left + place.right) / 2, (place.top + place.bottom) / 2});
    // The foreground changes before the program has handled the click; the
    // focus, and with it the caret taken from the note that had it, only then.
    return WaitUntil([&] { return GetForegroundWindow() == note && FocusedWindowOf(note) == BodyOf(note); });
}

HWND NewNoteBesides(DWORD process, const std::vector<HWND>& known)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND note : NoteWindows(process)) {
            if (std::find(known.begin(), known.end(), note) == known.end() && IsWindowVisible(note) &&
                BodyOf(note))
                found = note;
        }
        return found != nullptr;
    });
    return found;
}

HWND NewNoteFromMainWindow(HWND main, DWORD process)
{
    const std::vector<HWND> before = NoteWindows(process);
    PostMessageA(main, WM_COMMAND, kCmdNewNote, 0);
    return NewNoteBesides(process, before);
}

HWND NoteWithText(DWORD process, const std::string& text)
{
    for (HWND note : NoteWindows(process)) {
        if (ReadWindowText(BodyOf(note)) == text)
            return note;
    }
    return nullptr;
}

HWND WaitForNoteWithText(DWORD process, const std::string& text)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = NoteWithText(process, text)) != nullptr; });
    return found;
}

HWND WaitForNoteStarting(DWORD process, const std::string& start)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND note : NoteWindows(process))
            if (ReadWindowText(BodyOf(note)).rfind(start, 0) == 0)
                found = note;
        return found != nullptr;
    });
    return found;
}

HWND WaitForMainWindow(const RunningProgram& program)
{
    HWND main = program.WaitForWindow(kMainClass);
    if (main && !SendWithTimeout(main, WM_NULL, 0, 0))
        return nullptr;
    return main;
}

bool WaitForTheStartsFocus(DWORD process)
{
    return WaitUntil([&] {
        const std::vector<HWND> notes = NoteWindows(process);
        return std::find(notes.begin(), notes.end(), GetForegroundWindow()) != notes.end();
    }) && ForegroundReadItsNotices();
}

void TypeAtStart(HWND note, const std::string& text)
{
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(SendWithTimeout(BodyOf(note), EM_SETSEL, 0, 0));
    for (char key : text)
        ASSERT_TRUE(SendWithTimeout(BodyOf(note), WM_CHAR, static_cast<unsigned char>(key), 1));
}

void RunToEnd(const ProgramInstall& install, const std::string& arguments)
{
    RunningProgram second(install, arguments);
    DWORD exitCode = 1;
    ASSERT_TRUE(second.WaitForExit(&exitCode)) << arguments;
    EXPECT_EQ(exitCode, 0u) << arguments;
}

HWND NewNoteFromCommandLine(const ProgramInstall& install, DWORD process, const std::string& text)
{
    RunToEnd(install, "/new \"" + text + "\"");
    return WaitForNoteWithText(process, text);
}

std::string BackupMadeByProgram(const std::function<void(const ProgramInstall&)>& storeNotes)
{
    ProgramInstall earlier;
    earlier.AddInstalledDataFiles();
    storeNotes(earlier);
    const std::string file = earlier.File("made.QPK");
    RunningProgram program(earlier, "");
    EXPECT_NE(WaitForMainWindow(program), nullptr);
    RunToEnd(earlier, "/backup made.QPK");
    EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    CloseProgram(earlier, program);
    return GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : ReadWholeFile(file);
}

bool AskForUnrestore(HWND main, DWORD process)
{
    PostMessageA(main, WM_COMMAND, kCmdUnrestore, 0);
    HWND undo = nullptr;
    const bool shown = WaitUntil([&] {
        undo = FindTopWindowTitled("#32770", "Unrestore notes...", process);
        return undo && IsWindowVisible(undo);
    });
    EXPECT_TRUE(shown);
    // The undo may run before the press returns: its box tells how it went.
    if (shown)
        SendWithTimeout(undo, WM_COMMAND, IDOK, 0);
    return shown;
}

std::string UnrestoreAnsweringYes(HWND main, DWORD process)
{
    if (!AskForUnrestore(main, process))
        return "(no dialog)";
    return AcknowledgeProgramBox(process);
}

bool DeleteNoteWindow(HWND note, DWORD process)
{
    const UINT kNoteDeleteCommand = 4511;
    PostMessageA(note, WM_COMMAND, kNoteDeleteCommand, 0);
    return WaitUntil([&] {
        ShownMessageBox confirm{FindTopWindow("#32770", process), "", ""};
        if (confirm.window)
            AnswerMessageBox(confirm, IDYES);
        return !IsWindowVisible(note);
    });
}

void CloseProgram(const ProgramInstall& install, RunningProgram& program)
{
    RunToEnd(install, "/close");
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

COLORREF ScreenPixel(POINT point)
{
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool CloseColour(COLORREF a, COLORREF b)
{
    auto within = [](int x, int y) { return x - y <= 8 && y - x <= 8; };
    return within(GetRValue(a), GetRValue(b)) && within(GetGValue(a), GetGValue(b)) && within(GetBValue(a), GetBValue(b));
}
