// The Note Manager's settings dialog and what outlives the window on the real
// program: Cancel changes nothing, "Keep Note Manager on top" applies at
// once, the dialog class keeps its cursor, and after a restart the Size
// column is hidden again while the window comes back where it was left.
#include <windows.h>

#include <gtest/gtest.h>

#include "globals/MainWindowMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "notemanager/NoteManagerFile.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/ListViewDriving.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char kSettingsCaption[] = "Note Manager settings";
const int kSizeColumn = 7;
const int kStyleRows = 10;

bool IsTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

HWND OpenSettings(const NoteManagerWindow& manager, DWORD process)
{
    manager.Press(IDC_NM_SETTINGS);
    HWND settings = nullptr;
    WaitUntil([&] {
        settings = FindTopWindowTitled("#32770", kSettingsCaption, process);
        return settings && IsWindowVisible(settings);
    });
    return settings;
}

void Press(HWND dialog, int id)
{
    SendWithTimeout(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void EndSettings(HWND settings, int button)
{
    PostMessageA(settings, WM_COMMAND, static_cast<WPARAM>(button), 0);
    WaitUntil([&] { return !IsWindow(settings); });
}

CNoteManagerOptions StoredOptions(const ProgramInstall& install)
{
    MessageBoxRecorder boxes;
    CRecordList<CNoteManagerOptions> list;
    CRecordList<CNoteGroup> groups;
    CRecordList<CGroupNotePair> pairs;
    CNoteManagerOptions options;
    SetNoteManagerDefaults(options);
    LoadNoteManagerFile(install.File("noteman.QPD").c_str(), {list, groups, pairs}, options, 1);
    return options;
}
}

TEST(NoteManagerSettings, OkAppliesCancelKeepsAndTheColumnsAndPlacementOutliveARestart)
{
    ProgramInstall install("nmsettings");
    install.AddInstalledDataFiles();
    TestNote onTop("Stays on top");
    StoreTestNotes(install, {{"A hidden note", true}, {"Shown note", false, 20270401, 7}, onTop});
    RECT moved = {};
    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        NoteManagerWindow manager(process);
        HWND main = manager.OpenFromTrayListing(program, 4);
        ASSERT_NE(main, nullptr);
        EXPECT_FALSE(IsTopmost(manager.Window()));
        // A user without a stored record sees the Size column.
        EXPECT_EQ(ListColumnWidth(manager.List(), kSizeColumn), 60);
        SetWindowPos(manager.Window(), nullptr, 120, 40, 720, 540, SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitUntil([&] {
            GetWindowRect(manager.Window(), &moved);
            return moved.left == 120 && moved.right - moved.left == 720;
        }));

        // "Created" dragged before "Title": the order the next opening shows.
        DragHeaderItem(process, manager.List(), 4, 1);
        EXPECT_TRUE(WaitUntil([&] { return ListColumnOrder(process, manager.List())[1] == 4; }));

        // Every box changed, then Cancel: nothing of it stays.
        HWND settings = OpenSettings(manager, process);
        ASSERT_NE(settings, nullptr);
        for (int id : {IDC_NMS_NOTE_COLOURS, IDC_NMS_BOLD_TITLE, IDC_NMS_SHADE_HIDDEN, IDC_NMS_SHADE_PARKED,
                       IDC_NMS_SAVE_FILTERS, IDC_NMS_ON_TOP, IDC_NMS_SMART_DATES})
            Press(settings, id);
        EndSettings(settings, IDCANCEL);
        EXPECT_FALSE(IsTopmost(manager.Window()));

        // "Keep Note Manager on top" on, then off: each at once.
        settings = OpenSettings(manager, process);
        ASSERT_NE(settings, nullptr);
        EXPECT_TRUE(IsDlgButtonChecked(settings, IDC_NMS_NOTE_COLOURS) == BST_CHECKED);
        EXPECT_FALSE(IsDlgButtonChecked(settings, IDC_NMS_ON_TOP) == BST_CHECKED);
        // The dialog answers for its own cursor.
        LRESULT ownCursor = 0;
        SendWithTimeout(settings, WM_SETCURSOR, reinterpret_cast<WPARAM>(settings), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
                        &ownCursor);
        EXPECT_EQ(ownCursor, TRUE);
        Press(settings, IDC_NMS_ON_TOP);
        SaveScreenshotOf(settings, "note-manager-settings");
        EndSettings(settings, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return IsTopmost(manager.Window()); }));
        settings = OpenSettings(manager, process);
        ASSERT_NE(settings, nullptr);
        Press(settings, IDC_NMS_ON_TOP);
        EndSettings(settings, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsTopmost(manager.Window()); }));
        // Other dialogs of the program keep the arrow: the pointer over the
        // Note Manager (a dialog of the same class) is still drawn.
        SetCursorPos(moved.left + 60, moved.top + 200);
        CURSORINFO cursor = {};
        cursor.cbSize = sizeof cursor;
        EXPECT_TRUE(WaitUntil([&] { return GetCursorInfo(&cursor) && cursor.hCursor != nullptr; }));

        // The style samples of the style combo, and the rows in their colours.
        SendWithTimeout(GetDlgItem(manager.Window(), IDC_NM_STYLE), CB_SHOWDROPDOWN, TRUE, 0);
        SaveScreenshotOf(manager.Window(), "note-manager-styles");
        SendWithTimeout(GetDlgItem(manager.Window(), IDC_NM_STYLE), CB_SHOWDROPDOWN, FALSE, 0);
        LRESULT styles = 0;
        SendWithTimeout(GetDlgItem(manager.Window(), IDC_NM_STYLE), CB_GETCOUNT, 0, 0, &styles);
        EXPECT_EQ(styles, kStyleRows);

        ASSERT_TRUE(manager.Close());
        const CNoteManagerOptions stored = StoredOptions(install);
        EXPECT_EQ(stored.paintTTBackColors, 1u);
        EXPECT_EQ(stored.boldTitleText, 1u);
        EXPECT_EQ(stored.paintHiddenBackgnd, 1u);
        EXPECT_EQ(stored.paintParkedBackgnd, 1u);
        EXPECT_EQ(stored.saveFilterCriteria, 1u);
        EXPECT_EQ(stored.adaptiveDateTime, 1u);
        EXPECT_EQ(stored.stayOnTop, 0u);
        CloseProgram(install, program);
    }

    RunningProgram again(install, "");
    const DWORD process = again.ProcessId();
    NoteManagerWindow manager(process);
    HWND main = manager.OpenFromTray(again);
    ASSERT_NE(main, nullptr);
    RECT placed = {};
    GetWindowRect(manager.Window(), &placed);
    EXPECT_EQ(placed.left, moved.left);
    EXPECT_EQ(placed.top, moved.top);
    EXPECT_EQ(placed.right, moved.right);
    EXPECT_EQ(placed.bottom, moved.bottom);
    // The file keeps seven columns: Size is hidden again, with its width.
    EXPECT_EQ(ListColumnWidth(manager.List(), kSizeColumn), 0);
    EXPECT_EQ(ListColumnOrder(again.ProcessId(), manager.List()), (std::vector<int>{0, 4, 1, 2, 3, 5, 6, 7}));
    manager.Command(ID_NM_COLUMN_SIZE);
    EXPECT_TRUE(WaitUntil([&] { return ListColumnWidth(manager.List(), kSizeColumn) == 60; }));
    // The standard columns back: widths, order and the sort by title.
    manager.Command(ID_NM_COLUMN_OWNER);
    manager.Command(ID_NM_COLUMN_TITLE);
    EXPECT_TRUE(WaitUntil([&] { return ListColumnWidth(manager.List(), 1) == 0; }));
    manager.Command(ID_NM_COLUMNS_RESET);
    const int standard[] = {42, 120, 160, 100, 100, 70, 0, 0};
    EXPECT_TRUE(WaitUntil([&] { return ListColumnWidth(manager.List(), 1) == 120; }));
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(ListColumnWidth(manager.List(), column), standard[column]) << "column " << column;
    EXPECT_EQ(ListColumnOrder(again.ProcessId(), manager.List()), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    ASSERT_TRUE(manager.Close());
    CloseProgram(install, again);
}
