#include "notemanager/NoteManagerDriving.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <map>

#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "notemanager/NoteManagerFile.h"
#include "resources/ids/NoteManagerIds.h"
#include "resources/ids/SendNoteIds.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/StyleStorage.h"
#include "support/CurrentFolder.h"
#include "support/KeyPresses.h"
#include "support/MenuDriving.h"
#include "support/ExtraTries.h"
#include "support/NoteDriving.h"
#include "support/NoticeReading.h"
#include "support/ListViewDriving.h"
#include "support/ProtectedUser.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

const char kNoteManagerCaption[] = "Quillnet+ Note Manager";

namespace {
// The list's menu: its items and separators, in order.
const char kListMenuLayout[] = "ii-ii-ii-iiiiii";
}

std::vector<DWORD> StoreTestNotes(const ProgramInstall& install, const std::vector<TestNote>& notes)
{
    CurrentFolder data(install.Path());
    NotesFreeSlots().Clear();
    std::vector<DWORD> ids;
    LONG left = 40;
    for (const TestNote& given : notes) {
        CNoteController note;
        FillTestNote(note, given.text.c_str(), left, 60);
        left += 30;
        lstrcpynA(note.m_title, (given.title.empty() ? given.text : given.title).c_str(), sizeof note.m_title);
        note.m_hidden = given.hidden;
        if (given.style >= 1 && given.style <= 9) {
            // The colours the install's settings table gives the style.
            LoadV6Style(given.style - 1);
            const CNoteStyle& style = UserSettings().styles[given.style - 1];
            note.m_bodyColor = style.backgroundColor;
            note.m_titleColor = style.titleBackgroundColor;
            note.m_textureId = style.textureId;
            note.m_backgroundKind = static_cast<int>(style.backgroundKind);
        }
        if (given.alarmDay) {
            note.m_alarmSet = true;
            note.m_alarmRecurring = given.recurring;
            note.m_alarm = CDateTime(static_cast<BYTE>(given.alarmDay % 100), static_cast<BYTE>(given.alarmDay / 100 % 100),
                                     static_cast<WORD>(given.alarmDay / 10000), given.alarmHour, 0, 0);
        }
        if (given.locked) {
            note.m_protected = true;
            note.m_passwordText = kSecretPasswordText;
        }
        SaveNote(note);
        ids.push_back(note.m_noteId);
    }
    return ids;
}

namespace {
// The install's noteman.QPD as the program reads it, written back on Save.
struct GroupsFile {
    explicit GroupsFile(const ProgramInstall& install) : path(install.File("noteman.QPD"))
    {
        SetNoteManagerDefaults(current);
        LoadNoteManagerFile(path.c_str(), {options, groups, pairs}, current, 1);
    }
    void Save() { SaveNoteManagerXml(path.c_str(), {options, groups, pairs}); }

    std::string path;
    CRecordList<CNoteManagerOptions> options;
    CRecordList<CNoteGroup> groups;
    CRecordList<CGroupNotePair> pairs;
    CNoteManagerOptions current;
};
}

void WriteGroupsFile(const ProgramInstall& install, const std::vector<DWORD>& extraGroups,
                     const std::vector<std::pair<DWORD, DWORD>>& memberships)
{
    MessageBoxRecorder boxes;
    GroupsFile file(install);
    for (DWORD id : extraGroups) {
        CNoteGroup group = file.groups.GetFirst()->record;
        group.id = id;
        std::snprintf(group.name, sizeof group.name, "Group %03lu", static_cast<unsigned long>(id));
        lstrcpynA(group.editable, "1", sizeof group.editable);
        file.groups.AddToTail(group);
    }
    for (const auto& m : memberships)
        file.pairs.AddToTail({static_cast<DWORD>(file.pairs.NextFreeId()), m.first, m.second});
    file.Save();
}

std::map<DWORD, DWORD> StoredGroupOfEachNote(const ProgramInstall& install)
{
    MessageBoxRecorder boxes;
    const GroupsFile file(install);
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    std::map<DWORD, DWORD> groupOf;
    for (auto* node = file.pairs.GetFirst(); node; node = node->next)
        groupOf[node->record.noteID] = node->record.groupID;
    return groupOf;
}

bool NoteManagerWindow::Wait()
{
    const DWORD process = m_process;
    if (!WaitUntil([&] {
            m_window = FindTopWindowTitled("#32770", kNoteManagerCaption, process);
            return m_window != nullptr && IsWindowVisible(m_window);
        }))
        return false;
    // On the bare screen the window shown active gets X's focus only once its
    // thread has read X's notices, and Wine then raises it over everything,
    // the program's menus too (docs/platform.md): read them before any menu.
    // (A maximised window leaves no bare screen for the reading, and nothing
    // of the screen to fall under it.)
    if (GetForegroundWindow() == m_window && !IsZoomed(m_window)) {
        EXPECT_TRUE(ForegroundReadItsNotices()) << "the Note Manager did not read its focus notices";
    }
    return true;
}

HWND NoteManagerWindow::OpenFromTray(const RunningProgram& program)
{
    HWND main = WaitForMainWindow(program);
    if (!main)
        return nullptr;
    PostMessageA(main, WM_COMMAND, kCmdNoteManager, 0);
    return Wait() ? main : nullptr;
}

HWND NoteManagerWindow::OpenFromTrayListing(const RunningProgram& program, int rows)
{
    HWND main = OpenFromTray(program);
    return main && WaitUntil([&] { return Rows() == rows; }) ? main : nullptr;
}

bool NoteManagerWindow::Close() const
{
    Press(IDCANCEL);
    return WaitClosed();
}

bool NoteManagerWindow::CloseAfterItsSend(HWND sentNote) const
{
    // The window looks at its send once its queue is empty, at the latest
    // every 50 ms: a second is ample on a loaded machine.
    const DWORD kLookAfterSendMs = 1000;
    if (!WaitUntil([&] { return !NoteIsTransmitting(sentNote); })) {
        ADD_FAILURE() << "the note's send did not end";
        return false;
    }
    const DWORD ended = GetTickCount();
    HWND window = m_window;
    for (int press = 1;; ++press) {
        const DWORD pressedAfter = GetTickCount() - ended;
        Press(IDCANCEL);
        // The press has run its command once it is handled: the window is
        // hidden then, or it refused.
        if (!WaitUntilSentHandled()) {
            ADD_FAILURE() << "Close was not handled";
            return false;
        }
        if (!IsWindow(window) || !IsWindowVisible(window))
            return WaitClosed();
        if (pressedAfter > kLookAfterSendMs) {
            ADD_FAILURE() << "the window refused Close pressed " << pressedAfter << " ms after its send ended";
            return false;
        }
        ReportExtraTry("Close pressed again", press + 1,
                       "the window refused the press made " + std::to_string(pressedAfter) +
                           " ms after its send ended, before it had looked at the send");
    }
}

HWND NoteManagerWindow::Status() const
{
    return FindWindowExA(m_window, nullptr, STATUSCLASSNAMEA, nullptr);
}

std::string NoteManagerWindow::StatusText() const
{
    return StatusBarText(m_process, Status());
}

std::vector<std::string> NoteManagerWindow::Column(int column) const
{
    return ListColumn(m_process, List(), column);
}

std::string NoteManagerWindow::Cell(int row, int column) const
{
    return ListCell(m_process, List(), row, column);
}

int NoteManagerWindow::Rows() const
{
    return ListRowCount(List());
}

bool NoteManagerWindow::Checked(int id) const
{
    LRESULT state = 0;
    SendWithTimeout(GetDlgItem(m_window, id), BM_GETCHECK, 0, 0, &state);
    return state == BST_CHECKED;
}

void NoteManagerWindow::Click(int id) const
{
    SendWithTimeout(GetDlgItem(m_window, id), BM_CLICK, 0, 0);
}

void NoteManagerWindow::PressCtrlToList(BYTE key) const
{
    SetForegroundWindow(m_window);
    SendWithTimeout(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(List()), TRUE);
    PressKeys({VK_CONTROL, key});
}

void NoteManagerWindow::Press(int id) const
{
    SendInOrder(GetDlgItem(m_window, id), BM_CLICK, 0, 0);
}

int NoteManagerWindow::RowOfTitle(const std::string& title) const
{
    const std::vector<std::string> titles = Column(1);
    for (size_t row = 0; row < titles.size(); ++row) {
        if (titles[row] == title)
            return static_cast<int>(row);
    }
    return -1;
}

bool NoteManagerWindow::RowPoint(int row, POINT& at) const
{
    const int kTextColumn = 2;
    const RECT cell = ListCellRect(m_process, List(), row, kTextColumn);
    at = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    return WindowFromPoint(at) == List();
}

bool NoteManagerWindow::FileRowInGroup(int row, size_t groupItem, const char* picture) const
{
    return FileInGroupFromMenu([&]() -> HWND {
        POINT at{};
        if (!RowPoint(row, at)) {
            ADD_FAILURE() << "row " << row << " does not show at " << at.x << "," << at.y;
            return nullptr;
        }
        RightClickAt(at);
        HWND menu = WaitForOpenMenus(m_process, 1);
        if (!menu || !(ListView_GetItemState(List(), row, LVIS_SELECTED) & LVIS_SELECTED)) {
            ADD_FAILURE() << (menu ? "the right-clicked row is not selected" : "the list's menu did not open");
            return nullptr;
        }
        return menu;
    }, groupItem, picture);
}

HWND NoteManagerWindow::OpenListMenuByMenuKey() const
{
    HWND list = List();
    if (!SendWithTimeout(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE) ||
        !WaitUntil([&] { return FocusedWindowOf(m_window) == list; })) {
        ADD_FAILURE() << "the Note Manager's list did not take the focus";
        return nullptr;
    }
    PressKeys({VK_APPS});
    HWND menu = WaitForOpenMenus(m_process, 1);
    if (!menu)
        ADD_FAILURE() << "the Menu key opened no menu";
    return menu;
}

bool NoteManagerWindow::FileSelectionInGroupByMenuKey(size_t groupItem, const char* picture) const
{
    return FileInGroupFromMenu([&] { return OpenListMenuByMenuKey(); }, groupItem, picture);
}

bool NoteManagerWindow::ChooseInListMenuByMenuKey(size_t item, const char* picture) const
{
    if (!ReadyForClicks()) {
        ADD_FAILURE() << "the Note Manager did not come to the front";
        return false;
    }
    HWND menu = OpenListMenuByMenuKey();
    if (!menu)
        return false;
    const MenuPicture items(menu, kListMenuLayout);
    if (!items.Fits()) {
        ADD_FAILURE() << "the list's menu does not have the items of its picture";
        return false;
    }
    const POINT middle = items.ItemMiddle(item);
    SetCursorPos(middle.x, middle.y);
    SaveScreenshotOf(menu, picture);
    ClickAt(middle);
    const DWORD process = m_process;
    if (!WaitUntil([&] { return OpenMenus(process).empty(); })) {
        ADD_FAILURE() << "the list's menu stayed open after its item was clicked";
        return false;
    }
    return true;
}

bool NoteManagerWindow::FileInGroupFromMenu(const std::function<HWND()>& openMenu, size_t groupItem,
                                            const char* picture) const
{
    const int kTries = 2;
    for (int attempt = 1;; ++attempt) {
        // The user brings the window forward before working in its list: a
        // click into a window behind another (a note just made) would
        // activate it while its menu opens.
        if (!ReadyForClicks()) {
            ADD_FAILURE() << "the Note Manager did not come to the front";
            return false;
        }
        HWND menu = openMenu();
        if (!menu)
            return false;
        bool menuClosed = false;
        if (ChooseGroupInListMenu(menu, groupItem, picture, menuClosed))
            return true;
        if (!menuClosed)
            return false;
        if (attempt == kTries) {
            ADD_FAILURE() << "the list's menu closed by itself before its group submenu opened, " << kTries
                          << " times";
            return false;
        }
        // A focus notice read late in the menu's own loop closes the menu.
        ReportExtraTry("the list's menu opened again", attempt + 1,
                       "the menu closed by itself before its group submenu opened");
    }
}

bool NoteManagerWindow::ChooseGroupInListMenu(HWND menu, size_t groupItem, const char* picture,
                                              bool& menuClosed) const
{
    const MenuPicture list(menu, kListMenuLayout);
    const size_t kAssignItem = 5;
    if (!list.Fits()) {
        ADD_FAILURE() << "the list's menu does not have the items of its picture";
        return false;
    }
    ClickAt(list.ItemMiddle(kAssignItem));
    HWND groups = nullptr;
    const DWORD process = m_process;
    WaitUntil([&] {
        const std::vector<HWND> open = OpenMenus(process);
        for (HWND shown : open)
            if (shown != menu)
                groups = shown;
        menuClosed = open.empty();
        return groups || menuClosed;
    });
    if (!groups) {
        if (!menuClosed)
            ADD_FAILURE() << "the group submenu did not open, and the list's menu stayed open";
        return false;
    }
    const MenuPicture names(groups, "iiiiii");
    if (!names.Fits()) {
        ADD_FAILURE() << "the group submenu does not have its six items";
        return false;
    }
    SetCursorPos(names.ItemMiddle(groupItem).x, names.ItemMiddle(groupItem).y);
    SaveScreenshotOf(groups, picture);
    ClickAt(names.ItemMiddle(groupItem));
    if (!WaitUntil([&] { return OpenMenus(process).empty(); })) {
        ADD_FAILURE() << "the menus stayed open after the group was clicked";
        return false;
    }
    return true;
}

void NoteManagerWindow::SelectTitles(const std::vector<std::string>& titles) const
{
    std::vector<int> rows;
    for (const std::string& title : titles)
        rows.push_back(RowOfTitle(title));
    SelectListRows(m_process, List(), rows);
}

bool NoteManagerWindow::WaitClosed() const
{
    HWND window = m_window;
    return WaitUntil([&] { return !IsWindow(window); });
}

void AllowReferencesHotkey(const ProgramInstall& install)
{
    MessageBoxRecorder boxes;
    GroupsFile file(install);
    for (auto* node = file.groups.GetFirst(); node; node = node->next) {
        if (node->record.id == 5) {
            node->record.hotkey_ifAllow = 1;
            node->record.hotkey_ctrl = node->record.hotkey_alt = node->record.hotkey_shift = 1;
            node->record.hotkey_key = VK_F7;
        }
    }
    file.Save();
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
}

bool NoteIsTransmitting(HWND note)
{
    LRESULT answer = 0;
    return SendWithTimeout(note, kMsgNoteIsTransmitting, 0, 0, &answer) && answer != 0;
}

bool NoteManagerWindow::SendTitles(const std::vector<std::string>& titles, unsigned short port) const
{
    const char kSendCaption[] = "Send note to a computer or email address";
    HWND first = WaitForNoteWithText(m_process, titles.front());
    SelectTitles(titles);
    Command(ID_NM_SEND);
    HWND dialog = nullptr;
    const DWORD process = m_process;
    if (!WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", kSendCaption, process)) != nullptr; }))
        return false;
    SendWithTimeout(GetDlgItem(dialog, IDC_SEND_ADDRESS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("127.0.0.1"));
    const std::string number = std::to_string(port);
    SendWithTimeout(GetDlgItem(dialog, IDC_SEND_PORT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(number.c_str()));
    SendInOrder(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    return first && WaitUntil([&] { return NoteIsTransmitting(first); });
}

std::string NoteManagerWindow::ComboItem(int comboId, int index) const
{
    // Asked in wide characters: the answer then crosses between the processes whole.
    wchar_t text[128] = L"";
    HWND combo = GetDlgItem(m_window, comboId);
    LRESULT length = 0;
    if (!SendWithTimeout(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, &length) || length < 0 ||
        length >= static_cast<LRESULT>(sizeof text / sizeof text[0]))
        return "(none)";
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, kDriverWaitMs, &answer);
    char narrow[256] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

int NoteManagerWindow::ComboSelection(int comboId) const
{
    LRESULT index = -1;
    SendWithTimeout(GetDlgItem(m_window, comboId), CB_GETCURSEL, 0, 0, &index);
    return static_cast<int>(index);
}

namespace {
// The shown drop-down list of the process's combo box, once it shows.
HWND DroppedList(DWORD process)
{
    HWND list = nullptr;
    WaitUntil([&] {
        for (HWND candidate : TopWindowsOf(process, "ComboLBox")) {
            if (IsWindowVisible(candidate))
                list = candidate;
        }
        return list != nullptr;
    });
    return list;
}
}

bool NoteManagerWindow::ComboDropped(int comboId) const
{
    LRESULT dropped = 0;
    return SendWithTimeout(GetDlgItem(m_window, comboId), CB_GETDROPPEDSTATE, 0, 0, &dropped) && dropped;
}

bool NoteManagerWindow::ReadyForClicks() const
{
    SetForegroundWindow(m_window);
    HWND window = m_window;
    // A click from here reaches the window without waiting for what X told
    // its thread before it, as a user's click would (a box closed just
    // before, say): the thread reads that first.
    return WaitUntil([&] { return GetForegroundWindow() == window; }) && ForegroundReadItsNotices() &&
           WaitUntilPainted(window);
}

bool NoteManagerWindow::ChooseComboItem(int comboId, int index) const
{
    HWND combo = GetDlgItem(m_window, comboId);
    if (!ReadyForClicks())
        return false;
    RECT box{};
    GetWindowRect(combo, &box);
    const POINT arrow{box.right - GetSystemMetrics(SM_CXVSCROLL) / 2 - 1, (box.top + box.bottom) / 2};
    ClickAt(arrow);
    HWND list = WaitUntil([&] { return ComboDropped(comboId); }) ? DroppedList(m_process) : nullptr;
    // The button let go on the arrow hands the mouse to the list.
    if (!list || !WaitUntil([&] { return CaptureOf(combo) == list; }))
        return false;
    // The pointer onto the item, until the list lights the item up under it
    // (left on the arrow, above the list, it would keep scrolling the list).
    // An item below the shown part is scrolled into view first, as the wheel
    // does it.
    POINT item{};
    int round = 0;
    const bool pointed = WaitUntil([&] {
        LRESULT top = 0, height = 0, lit = -1;
        RECT area{};
        GetClientRect(list, &area);
        if (!SendWithTimeout(list, LB_GETTOPINDEX, 0, 0, &top) ||
            !SendWithTimeout(list, LB_GETITEMHEIGHT, 0, 0, &height) || height <= 0)
            return false;
        if (index < top || (index - top + 1) * height > area.bottom) {
            SendWithTimeout(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
            return false;
        }
        item = {area.right / 2, static_cast<LONG>((index - top) * height + height / 2)};
        ClientToScreen(list, &item);
        // A pixel to and fro inside the item, so that each round moves it.
        item.x += ++round % 2;
        SetCursorPos(item.x, item.y);
        return SendWithTimeout(list, LB_GETCURSEL, 0, 0, &lit) && lit == index;
    });
    if (pointed) {
        ClickAt(item);
        if (WaitUntil([&] { return !ComboDropped(comboId) && ComboSelection(comboId) == index; }))
            return true;
    }
    // What the screen showed is kept for the person reading the failure.
    static int failures = 0;
    SaveScreenshot("combo-choice-failure-" + std::to_string(++failures));
    return false;
}

bool NoteManagerWindow::TypeInPlace(UINT command, const char* name) const
{
    Command(static_cast<int>(command));
    return TypeInOpeningInPlaceEdit(name);
}

bool NoteManagerWindow::TypeInOpeningInPlaceEdit(const char* name) const
{
    const int kInPlaceEditId = 1010;
    HWND edit = nullptr;
    if (!WaitUntil([&] {
            edit = GetDlgItem(m_window, kInPlaceEditId);
            return edit && IsWindowVisible(edit);
        }))
        return false;
    SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    return WaitUntil([&] { return !IsWindow(edit) || !IsWindowVisible(edit); });
}
