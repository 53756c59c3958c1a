// The tray icon and the notes it makes, as a user meets them on a fresh
// install: a note dragged out of the icon lands where it was dropped, the
// new-note hotkey puts its note at the pointer, a long title stops before the
// creation date, and the tray menu's entries say what they do (the calendar's
// hotkey, "Unarrange" only when there is an arrangement to undo, deleted and
// hidden notes named with their dates in the user's format, the backup
// entries with their pictures).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "note/NoteMessages.h"
#include "resources/ids/TrayMenuIds.h"
#include "globals/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/TableText.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const WPARAM kOwnTrayIconId = 508;
const char kLongTitle[] = "Averyveryverylongtitlewithoutanyblanksatall";
// The tray menu's items down to the one wanted, separators not counted.
const int kUndeleteItem = 1;
const int kTrayShowNotesItem = 4;
const int kArrangeItem = 7;
const int kBackupItem = 10;

// The settings the program starts from: dates in the long format, hotkey notes
// at the pointer, and the welcome note under a title longer than its caption.
void PrepareSettings(const ProgramInstall& install)
{
    CDbfFile settings;
    settings.SetTable(install.File("config.QPD").c_str(), true);
    settings.Open("MAPPINGALL");
    WriteNumber(settings, 1, "DATEFORMAT", 3);
    WriteLogical(settings, 1, "BSENT1", true);
    WriteText(settings, 5, "SZTITLE", kLongTitle);
    settings.Close();
}

std::string LongDate(const SYSTEMTIME& day)
{
    char text[80] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &day, nullptr, text, sizeof text);
    return text;
}

// Columns of the note's caption that hold dark (text) pixels, left to right.
std::vector<bool> CaptionTextColumns(HWND note)
{
    const RECT frame = RectOf(note);
    const RECT caption{frame.left + GetSystemMetrics(SM_CXSIZEFRAME), frame.top + GetSystemMetrics(SM_CYSIZEFRAME) + 2,
                       frame.right - GetSystemMetrics(SM_CXSIZEFRAME),
                       frame.top + GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYSMCAPTION) - 3};
    const std::vector<COLORREF> pixels = ScreenPixels(caption);
    const size_t width = static_cast<size_t>(caption.right - caption.left);
    std::vector<bool> columns(width, false);
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (IsDarkPixel(pixels[i]))
            columns[i % width] = true;
    }
    return columns;
}

// The widest run of blank columns between the first and the last text column.
int WidestGap(const std::vector<bool>& columns)
{
    int first = -1, last = -1;
    for (int x = 0; x < static_cast<int>(columns.size()); ++x) {
        if (columns[x]) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    int widest = 0, run = 0;
    for (int x = first + 1; first >= 0 && x < last; ++x) {
        run = columns[x] ? 0 : run + 1;
        widest = std::max(widest, run);
    }
    return widest;
}

LPARAM ClientPoint(HWND window, POINT screen)
{
    ScreenToClient(window, &screen);
    return MAKELPARAM(static_cast<short>(screen.x), static_cast<short>(screen.y));
}

}

TEST(TrayIcon, NotesLandWhereAskedAndTheMenuNamesWhatItsEntriesDo)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    PrepareSettings(install);
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    std::vector<HWND> notes = NoteWindows(process);
    ASSERT_EQ(notes.size(), 1u);
    HWND welcome = notes[0];

    // The welcome note's long title ends, cut, a clear gap before the date.
    ASSERT_TRUE(SaveScreenshotOf(welcome, "tray-welcome-note"));
    EXPECT_GE(WidestGap(CaptionTextColumns(welcome)), 6);

    // With hotkey notes at the pointer, the new-note hotkey's note starts there.
    SetCursorPos(600, 420);
    PostMessageA(main, WM_HOTKEY, 14, 0);
    HWND atPointer = NewNoteBesides(process, notes);
    ASSERT_NE(atPointer, nullptr);
    EXPECT_EQ(RectOf(atPointer).left, 600);
    EXPECT_EQ(RectOf(atPointer).top, 420);
    notes.push_back(atPointer);
    // The pointer leaves the new note's corner first: Wine may take a press
    // made right after the pointer moved where the pointer was before, and
    // there it would size the note.
    SetCursorPos(1000, 740);

    // A press on the tray icon, held and moved, drags a note out; it is made
    // where the button is let go. The press starts over the welcome note.
    // The button goes down before the icon reports the press, as with a real
    // press: the program asks every 200 ms whether the button is still down,
    // and a test held up between the two would otherwise be taken for a click.
    RECT welcomeRect = RectOf(welcome);
    POINT start{welcomeRect.left + 60, welcomeRect.bottom - 30};
    SetCursorPos(start.x, start.y);
    PressLeftButton(true);
    ASSERT_TRUE(SendWithTimeout(main, kMsgTrayCallback, kOwnTrayIconId, WM_LBUTTONDOWN));
    SetCursorPos(start.x + 12, start.y + 12);
    EXPECT_TRUE(WaitUntil([&] { return CaptureOf(main) == main; }));
    const POINT drop{700, 150};
    PostMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(main, {drop.x - 40, drop.y - 30}));
    PostMessageA(main, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(main, drop));
    PostMessageA(main, WM_LBUTTONUP, 0, ClientPoint(main, drop));
    HWND dropped = NewNoteBesides(process, notes);
    LetGoOfLeftButtonAside();
    ASSERT_NE(dropped, nullptr);
    EXPECT_EQ(RectOf(dropped).left, drop.x);
    EXPECT_EQ(RectOf(dropped).top, drop.y);

    // The dropped note, written in and deleted, is offered back under its
    // text and its creation date as the user writes dates.
    SYSTEMTIME today;
    GetLocalTime(&today);
    ASSERT_TRUE(SendWithTimeout(BodyOf(dropped), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("undelete me")));
    PostMessageA(dropped, WM_COMMAND, kNoteCmdDelete, 0);
    ShownMessageBox confirm;
    ASSERT_TRUE(WaitUntil([&] {
        confirm = WaitForMessageBox(process, 0);
        return confirm.window || !IsWindowVisible(dropped);
    }));
    if (confirm.window)
        AnswerMessageBox(confirm, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dropped); }));
    HWND undelete = OpenTrayMenu(main, process, kUndeleteItem);
    ASSERT_NE(undelete, nullptr);
    {
        MenuPicture picture(undelete, "i-i");
        EXPECT_TRUE(picture.Fits());
        EXPECT_TRUE(SaveScreenshotOf(undelete, "tray-undelete-menu"));
        EXPECT_TRUE(DrawnAsWideAs(picture.TextEnd(1), "undelete me - " + LongDate(today)));
    }
    ASSERT_TRUE(CloseMenus(process));

    // The hotkey's note, empty and without a title, hidden: listed by its date.
    PostMessageA(atPointer, WM_COMMAND, kNoteCmdHide, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(atPointer); }));
    HWND showNotes = OpenTrayMenu(main, process, kTrayShowNotesItem);
    ASSERT_NE(showNotes, nullptr);
    {
        MenuPicture picture(showNotes, "i-iiiii-i");
        EXPECT_TRUE(picture.Fits());
        EXPECT_TRUE(SaveScreenshotOf(showNotes, "tray-show-notes-menu"));
        EXPECT_TRUE(DrawnAsWideAs(picture.TextEnd(6), LongDate(today)));
    }
    ASSERT_TRUE(CloseMenus(process));

    // "Calendar..." carries its hotkey, on from the start.
    HWND tray = OpenTrayMenu(main, process);
    ASSERT_NE(tray, nullptr);
    {
        MenuPicture picture(tray, kTrayMenuLayout);
        EXPECT_TRUE(picture.Fits());
        EXPECT_GE(picture.TextEnd(3), MenuTextWidth("&Calendar... -  Ctrl+T") * 85 / 100);
        EXPECT_TRUE(SaveScreenshotOf(tray, "tray-menu"));
    }
    ASSERT_TRUE(CloseMenus(process));

    // "Unarrange" is grayed until a cascade has something to undo.
    HWND arrange = OpenTrayMenu(main, process, kArrangeItem);
    ASSERT_NE(arrange, nullptr);
    EXPECT_FALSE(MenuPicture(arrange, "iii").HasDarkText(2));
    ASSERT_TRUE(CloseMenus(process));
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, ID_TRAY_CASCADE_BY_DATE, 0));
    arrange = OpenTrayMenu(main, process, kArrangeItem);
    ASSERT_NE(arrange, nullptr);
    {
        MenuPicture picture(arrange, "iii");
        EXPECT_TRUE(picture.Fits());
        EXPECT_TRUE(picture.HasDarkText(2));
        EXPECT_TRUE(SaveScreenshotOf(arrange, "tray-arrange-menu"));
    }
    ASSERT_TRUE(CloseMenus(process));

    // The backup entries show their pictures, the unrestore one greyed while
    // there is nothing to unrestore; "Restore..." has none.
    HWND backup = OpenTrayMenu(main, process, kBackupItem);
    ASSERT_NE(backup, nullptr);
    {
        MenuPicture picture(backup, "i-ii");
        EXPECT_TRUE(picture.Fits());
        EXPECT_TRUE(picture.HasMark(0)) << "backup all notes";
        EXPECT_FALSE(picture.HasMark(1)) << "restore";
        EXPECT_TRUE(picture.HasMark(2)) << "unrestore";
        EXPECT_FALSE(picture.HasDarkText(2));
        EXPECT_TRUE(SaveScreenshotOf(backup, "tray-backup-menu"));
    }
    ASSERT_TRUE(CloseMenus(process));

    CloseProgram(install, program);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}
