// Moving between the notes and the settings they show, as the running program
// does it: the previous and next own note (0x8069, 0x8075) are found going
// round the list and past hidden notes; a date format chosen on the
// settings sheet shows at once where the program writes dates, and the notes
// taking the settings again keep their places on top. The note a user last
// clicked into is the one that /append and the "last note" hotkey reach.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SettingsSheetDriving.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteMessages.h"
#include "resources/ids/NotePageIds.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
// The note object behind the window, as the program names it in its messages.
LPARAM ObjectOf(HWND note)
{
    return GetWindowLongPtrA(note, GWLP_USERDATA);
}

// The own notes' windows in the program's list order, read by asking for the
// note after each one.
std::vector<HWND> ListOrder(HWND main, const std::vector<HWND>& notes)
{
    std::vector<HWND> order{notes[0]};
    for (size_t i = 1; i < notes.size(); ++i) {
        LRESULT next = 0;
        if (!SendWithTimeout(main, kMsgNoteAfter, 0, ObjectOf(order.back()), &next))
            return {};
        auto found = std::find_if(notes.begin(), notes.end(), [&](HWND note) { return ObjectOf(note) == next; });
        if (found == notes.end())
            return {};
        order.push_back(*found);
    }
    return order;
}

// The note that has the focus after the main window was asked to move on
// from the note, which had it before.
HWND FocusAfter(HWND main, UINT message, HWND from)
{
    if (!SendWithTimeout(main, kMsgFocusNoteByWindow, 0, reinterpret_cast<LPARAM>(from)) ||
        !WaitUntil([&] { return GetForegroundWindow() == from; }))
        return nullptr;
    if (!SendWithTimeout(main, message, 0, ObjectOf(from)))
        return nullptr;
    HWND focused = nullptr;
    WaitUntil([&] {
        focused = GetForegroundWindow();
        return focused != from;
    });
    return focused;
}

// A plain window of this process, to take the foreground from the notes.
class ForeignWindow {
public:
    explicit ForeignWindow(RECT place)
        : m_window(CreateWindowExA(0, "STATIC", "not a note", WS_POPUP | WS_BORDER | WS_VISIBLE, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~ForeignWindow() { DestroyWindow(m_window); }
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;
    HWND Handle() const { return m_window; }

private:
    HWND m_window;
};

bool NoteFocusIsTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

std::string ShortDate(const SYSTEMTIME& day)
{
    char text[80] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text, sizeof text);
    return text;
}
}

TEST(NoteFocus, PreviousAndNextGoRoundTheNotesAndANewDateFormatShowsAtOnce)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    RunToEnd(install, "/new \"second note\"");
    RunToEnd(install, "/new \"third note\"");
    ASSERT_TRUE(WaitUntil([&] { return NoteWindows(process).size() == 3; }));
    const std::vector<HWND> order = ListOrder(main, NoteWindows(process));
    ASSERT_EQ(order.size(), 3u);

    // Past the last note the walk goes on with the first, before the first
    // with the last.
    EXPECT_EQ(FocusAfter(main, kMsgFocusNextNote, order[1]), order[2]);
    EXPECT_EQ(FocusAfter(main, kMsgFocusNextNote, order[2]), order[0]);
    EXPECT_EQ(FocusAfter(main, kMsgFocusPreviousNote, order[0]), order[2]);
    EXPECT_EQ(FocusAfter(main, kMsgFocusPreviousNote, order[2]), order[1]);
    // A hidden note is passed by, also going round.
    PostMessageA(order[0], WM_COMMAND, kNoteCmdHide, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(order[0]); }));
    EXPECT_EQ(FocusAfter(main, kMsgFocusNextNote, order[2]), order[1]);
    EXPECT_EQ(FocusAfter(main, kMsgFocusPreviousNote, order[1]), order[2]);

    // A deleted note is offered back with its date in the user's format;
    // the Windows short date chosen on the sheet shows the next time the
    // menu opens, without a new start.
    HWND deleted = order[1];
    const std::string text = ReadWindowText(BodyOf(deleted));
    ASSERT_TRUE(DeleteNoteWindow(deleted, process));
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(program, 0, &sheet);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_DATE_SHORT));
    ASSERT_TRUE(NoteFocusIsTopmost(order[2])) << "the program raised the note it focused";
    ASSERT_TRUE(PressSheetOk(sheet));
    // The notes take the new settings as the sheet closes, each put back in
    // its place after; an answer from the program's loop comes once all have.
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_TRUE(NoteFocusIsTopmost(order[2]));
    SYSTEMTIME today;
    GetLocalTime(&today);
    HWND undelete = OpenTrayMenu(main, process, 1);
    ASSERT_NE(undelete, nullptr);
    {
        MenuPicture picture(undelete, "i-i");
        EXPECT_TRUE(picture.Fits());
        EXPECT_TRUE(DrawnAsWideAs(picture.TextEnd(1), text + " - " + ShortDate(today)));
        EXPECT_TRUE(SaveScreenshotOf(undelete, "tray-undelete-short-date"));
    }
    ASSERT_TRUE(CloseMenus(process));

    CloseProgram(install, program);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}

TEST(NoteFocus, TheNoteClickedIntoLastIsTheOneThatAppendAndTheLastNoteHotkeyReach)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_TRUE(WaitForTheStartsFocus(process));
    HWND a = NoteWindows(process).front();
    HWND b = NewNoteFromCommandLine(install, process, "note B");
    HWND c = NewNoteFromCommandLine(install, process, "note C");
    ASSERT_TRUE(b && c);
    // Side by side, so that each click lands on the note it is meant for.
    const HWND notes[] = {a, b, c};
    for (int i = 0; i < 3; ++i)
        SetWindowPos(notes[i], nullptr, 40 + 320 * i, 120, 280, 220, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return RectOf(c).left == 680; }));
    const std::string textOfA = ReadWindowText(BodyOf(a));

    // Clicked back into, each note gives the focus to the control that had
    // it; it is still the note used last.
    for (HWND note : {a, b, a, c, b})
        ASSERT_TRUE(ClickIntoBody(note));
    RunToEnd(install, "/append \" added\"");
    EXPECT_TRUE(WaitUntil([&] { return ReadWindowText(BodyOf(b)) == "note B added"; }))
        << ReadWindowText(BodyOf(b));
    EXPECT_EQ(ReadWindowText(BodyOf(c)), "note C");
    EXPECT_EQ(ReadWindowText(BodyOf(a)), textOfA);

    // From another program's window, the hotkey brings back the last note used.
    ASSERT_TRUE(ClickIntoBody(c));
    ASSERT_TRUE(ClickIntoBody(a));
    ForeignWindow other({300, 500, 700, 700});
    ClickAt({500, 600});
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.Handle(); }));
    PostMessageA(main, WM_HOTKEY, 17, 0);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == a; }));

    CloseProgram(install, program);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}
