// What the open Note Manager of the real program shows follows the program at
// once: opened on an alarm day, only the Alarm header carries the sort
// arrow; a textured note's Text cell takes its texture's colour; a column
// whose divider the user drags is drawn again in the form that now fits;
// notes made meanwhile get their rows at the end, whatever the filters, and
// notes deleted meanwhile leave them; the status line counts the rows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/bytes/NumberCodes.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/NoteManagerIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/ListViewDriving.h"
#include "support/NoteDriving.h"
#include "support/PictureFiles.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const DWORD kAlarmDay = 20270314;
const int kRefreshTitleColumn = 1;
const int kRefreshTextColumn = 2;
const int kAlarmColumn = 3;
const int kArrowAscending = 0;
const int kArrowNone = 2;
const WPARAM kFirstStyleHotkey = 150;
const char kTextureName[] = "brick.bmp";
const COLORREF kTextureColour = RGB(200, 40, 30);
const COLORREF kBodyColour = RGB(60, 190, 70);

// A note in a texture of one colour, with an alarm on the day; the texture's
// file is not there yet.
void StoreTexturedNote(const ProgramInstall& install)
{
    CurrentFolder data(install.Path());
    CNoteController note;
    FillTestNote(note, "Textured", 500, 300);
    note.m_bodyColor = kBodyColour;
    note.SetBackground(4, ElfHash(kTextureName, sizeof kTextureName - 1) % 10000, false);
    note.m_alarmSet = true;
    note.m_alarm = CDateTime(14, 3, 2027, 12, 0, 0);
    SaveNote(note);
}

// The note's own Delete command, its question answered Yes when it asks.
void DeleteElsewhere(HWND note, DWORD process)
{
    PostMessageA(note, WM_COMMAND, kNoteCmdDelete, 0);
    EXPECT_TRUE(WaitUntil([&] {
        const ShownMessageBox box = WaitForMessageBox(process, 50, "Quillnet+");
        if (box.window)
            AnswerMessageBox(box, IDYES);
        return !IsWindowVisible(note);
    }));
}

// The screen's pixels of the cell as the list left them, and as it paints
// them when asked to paint everything again.
struct CellPictures {
    std::vector<COLORREF> shown;
    std::vector<COLORREF> repainted;
};
CellPictures PicturesOfCell(DWORD process, HWND list, int row, int column)
{
    CellPictures pictures;
    WaitUntilPainted(list);
    const RECT cell = ListCellRect(process, list, row, column);
    pictures.shown = ScreenPixels(cell);
    InvalidateRect(list, nullptr, TRUE);
    WaitUntilPainted(list);
    pictures.repainted = ScreenPixels(cell);
    return pictures;
}
}

TEST(NoteManagerRefresh, ArrowsTexturesResizedColumnsAndNewNotesShowAtOnce)
{
    ProgramInstall install("nmrefresh");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, {{"Alpha alarm note", false, kAlarmDay, 10}, {"Bravo alarm note", false, kAlarmDay, 8}});
    StoreTexturedNote(install);
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    // The texture comes while the program runs: the note keeps its colour.
    HWND texturedNote = WaitForNoteWithText(process, "Textured");
    ASSERT_NE(texturedNote, nullptr);
    CreateDirectoryA(install.File("TEXTURES").c_str(), nullptr);
    WriteWholeFile(install.File(std::string("TEXTURES\\") + kTextureName),
                   MakeBmp8(16, 16, {kTextureColour}, std::vector<uint8_t>(256, 0)));

    // Opened on the alarm day: sorted by Alarm, whose header alone has an arrow.
    PostMessageA(main, kMsgOpenNoteManager, 0, kAlarmDay);
    NoteManagerWindow manager(process);
    ASSERT_TRUE(manager.Wait());
    ASSERT_TRUE(WaitUntil([&] { return manager.Rows() == 3; }));
    HWND list = manager.List();
    EXPECT_EQ(HeaderItemImage(process, list, kAlarmColumn), kArrowAscending);
    EXPECT_EQ(HeaderItemImage(process, list, kRefreshTitleColumn), kArrowNone);
    SetForegroundWindow(manager.Window());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == manager.Window(); }));

    // The textured note has no picture of its body yet: its Text cell shows
    // the texture's colour all the same.
    const int textured = manager.RowOfTitle("Textured");
    ASSERT_GE(textured, 0);
    ASSERT_TRUE(WaitUntilPainted(list));
    const RECT cell = ListCellRect(process, list, textured, kRefreshTextColumn);
    const POINT beyondText = {cell.right - 4, (cell.top + cell.bottom) / 2};
    EXPECT_TRUE(CloseColour(ScreenPixel(beyondText), kTextureColour)) << std::hex << ScreenPixel(beyondText);
    EXPECT_TRUE(SaveScreenshotOf(manager.Window(), "note-manager-alarm-day"));

    // The Alarm column dragged wider, then narrow: the cells are painted in
    // the form that fits the new width, at once.
    const std::string before = manager.Cell(0, kAlarmColumn);
    DragColumnDivider(process, list, kAlarmColumn, 220);
    ASSERT_TRUE(WaitUntil([&] { return ListColumnWidth(list, kAlarmColumn) == 220; }));
    CellPictures wide = PicturesOfCell(process, list, 0, kAlarmColumn);
    EXPECT_TRUE(wide.shown == wide.repainted) << "the wide Alarm cell was left as it was";
    const std::string wideText = manager.Cell(0, kAlarmColumn);
    EXPECT_GT(wideText.size(), before.size()) << wideText;
    DragColumnDivider(process, list, kAlarmColumn, 56);
    ASSERT_TRUE(WaitUntil([&] { return ListColumnWidth(list, kAlarmColumn) == 56; }));
    CellPictures narrow = PicturesOfCell(process, list, 0, kAlarmColumn);
    EXPECT_TRUE(narrow.shown == narrow.repainted) << "the narrow Alarm cell was left as it was";
    const std::string narrowText = manager.Cell(0, kAlarmColumn);
    EXPECT_LT(narrowText.size(), before.size()) << narrowText;
    EXPECT_EQ(narrowText.find(':'), std::string::npos) << "no time in a narrow column: " << narrowText;

    // Notes made while the window is open: each gets a row at the end,
    // although the day's filter would not list it.
    const size_t notesBefore = NoteWindows(process).size();
    PostMessageA(main, WM_COMMAND, kCmdNewNote, 0);
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 4; }));
    PostMessageA(main, WM_HOTKEY, kFirstStyleHotkey, 0);
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 5; }));
    RunToEnd(install, "/new \"From the command line\"");
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 6; }));
    EXPECT_EQ(manager.Cell(5, kRefreshTextColumn), "From the command line");
    EXPECT_EQ(manager.Cell(5, kAlarmColumn), "");
    EXPECT_EQ(NoteWindows(process).size(), notesBefore + 3);
    // The status line counts them.
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "Nothing selected, 6 notes listed"; }))
        << manager.StatusText();
    // A selected note deleted from its own window leaves the list, and the
    // status line no longer describes it.
    manager.SelectTitles({"Textured"});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText().rfind("The selected note is on the desktop", 0) == 0; }))
        << manager.StatusText();
    DeleteElsewhere(texturedNote, process);
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 5; }));
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "Nothing selected, 5 notes listed"; }))
        << manager.StatusText();
    // The deleted notes' view takes no new note; a note deleted meanwhile
    // joins it, and the status line counts it.
    ASSERT_TRUE(manager.ChooseComboItem(IDC_NM_GROUP, 1));
    ASSERT_TRUE(WaitUntil([&] { return manager.Rows() == 1 && !manager.Enabled(IDC_NM_STATE_ALL); }));
    PostMessageA(main, WM_COMMAND, kCmdNewNote, 0);
    ASSERT_TRUE(WaitUntil([&] { return NoteWindows(process).size() == notesBefore + 4; }));
    ASSERT_TRUE(SendWithTimeout(manager.Window(), WM_NULL, 0, 0));
    EXPECT_EQ(manager.Rows(), 1);
    HWND alpha = WaitForNoteWithText(process, "Alpha alarm note");
    ASSERT_NE(alpha, nullptr);
    DeleteElsewhere(alpha, process);
    EXPECT_TRUE(WaitUntil([&] { return manager.Rows() == 2; }));
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText() == "Nothing selected, 2 notes listed"; }))
        << manager.StatusText();

    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}
