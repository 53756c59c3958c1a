#include "notemanager/NoteManagerController.h"

#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/NotesGeneration.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "notemanager/NoteManagerFile.h"
#include "notemanager/NoteManagerNotes.h"
#include "noteprops/AppAssociations.h"
#include "resources/ids/NoteManagerIds.h"

// The selection's counts, the list menu with its enabling, the keys on the
// list and the list's subclass. The commands themselves are in
// NoteManagerActions.cpp.

namespace {
const int kAppsKeyOffset = 100;

enum ButtonIcon {
    kIconSend = 28, kIconSendHot = 29, kIconSettings = 22, kIconSettingsHot = 100, kIconOnTop = 16,
    kIconOnTopHot = 30, kIconLock = 48, kIconLockHot = 98, kIconUnlock = 47, kIconUnlockHot = 99,
    kIconAssociate = 94, kIconAssociateHot = 96, kIconGroup = 101, kIconGroupHot = 102, kIconPrint = 25,
    kIconPrintHot = 26, kIconDuplicate = 97, kIconDelete = 3, kIconDeleteHot = 10
};

bool KeyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// The application names of the note's associations.
std::vector<std::string> AssociationNames(DWORD noteId)
{
    std::vector<std::string> names;
    for (auto* node = AppAssociationsList().GetFirst(); node; node = node->next) {
        if (node->record.noteId == noteId)
            names.push_back(node->record.application);
    }
    return names;
}

bool SameAssociations(const std::vector<std::string>& first, const std::vector<std::string>& other)
{
    if (first.size() != other.size())
        return false;
    for (const std::string& name : other) {
        bool found = false;
        for (const std::string& mine : first)
            found = found || lstrcmpiA(mine.c_str(), name.c_str()) == 0;
        if (!found)
            return false;
    }
    return true;
}

LRESULT CALLBACK NoteListSubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* controller = reinterpret_cast<CNoteManagerController*>(GetWindowLongPtrA(list, GWLP_USERDATA));
    if (!controller)
        return DefWindowProcA(list, message, wParam, lParam);
    WNDPROC previous = controller->ListProcedure();
    CNoteManagerController::Call call(*controller);
    return GuardCallback<LRESULT>(0, [&]() -> LRESULT {
        switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (wParam == VK_TAB) {
                PostMessageA(controller->Dialog(), WM_NEXTDLGCTL, KeyDown(VK_SHIFT) ? 1 : 0, FALSE);
                return 0;
            }
            if (wParam == VK_ESCAPE) {
                PostMessageA(controller->Dialog(), WM_COMMAND, IDCANCEL, 0);
                return 0;
            }
            if (wParam == VK_APPS) {
                controller->PointAtSelectedRow(kAppsKeyOffset);
                controller->TrackListMenu();
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == VK_TAB || wParam == VK_ESCAPE || wParam == '\r' || wParam == '\n')
                return 0;
            break;
        case WM_KILLFOCUS: {
            // The list sees its focus go; the window taking it has it at once.
            const LRESULT answer = CallWindowProcA(previous, list, message, wParam, lParam);
            HWND taker = reinterpret_cast<HWND>(wParam);
            if (taker && IsWindow(taker) && GetWindowThreadProcessId(taker, nullptr) == GetCurrentThreadId() &&
                GetFocus() != taker)
                SetFocus(taker);
            return answer;
        }
        case WM_LBUTTONDBLCLK: {
            const LRESULT answer = CallWindowProcA(previous, list, message, wParam, lParam);
            controller->OnListKey(VK_RETURN);
            return answer;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header && header->hwndFrom == ListView_GetHeader(list))
                controller->OnHeaderNotify(*header);
            break;
        }
        case WM_COMMAND:
            SendMessageA(controller->Dialog(), message, wParam, lParam);
            return 0;
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_INITMENUPOPUP: {
            LRESULT answer = 0;
            if (controller->OnMenuMessage(message, wParam, lParam, answer))
                return answer;
            break;
        }
        default:
            break;
        }
        return CallWindowProcA(previous, list, message, wParam, lParam);
    });
}
}

void CNoteManagerController::SubclassList()
{
    SetWindowLongPtrA(m_list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoteListSubclassProc));
}

std::vector<CNoteController*> CNoteManagerController::SelectedNotes() const
{
    std::vector<CNoteController*> notes;
    for (int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_list, row, LVNI_SELECTED)) {
        if (CNoteController* note = NoteAt(row))
            notes.push_back(note);
    }
    return notes;
}

ChosenNotes CNoteManagerController::TakeSelection() const
{
    ChosenNotes chosen;
    chosen.generation = NotesGeneration();
    for (CNoteController* note : SelectedNotes())
        chosen.notes.push_back({note, note->m_window});
    return chosen;
}

void CNoteManagerController::CollectSelectionStats(CSelectionStats& stats)
{
    stats = CSelectionStats();
    std::vector<std::string> first;
    bool haveFirst = false;
    for (int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_list, row, LVNI_SELECTED)) {
        CNoteController* note = NoteAt(row);
        if (!note)
            continue;
        ++stats.selected;
        const std::vector<std::string> names = AssociationNames(note->m_noteId);
        if (!names.empty()) {
            ++stats.associated;
            if (!haveFirst) {
                first = names;
                haveFirst = true;
            } else if (!SameAssociations(first, names)) {
                stats.sameAssociations = 0;
            }
        }
        stats.onTop += note->m_stayOnTop ? 1 : 0;
        stats.closedProtectedLocked += IsNoteLocked(*note) && IsClosedProtected(*note) ? 1 : 0;
        stats.locked += IsNoteLocked(*note) ? 1 : 0;
        stats.visible += !note->m_hidden && !note->m_parked ? 1 : 0;
        stats.parked += note->m_parked ? 1 : 0;
        std::string text = CellText(*note, kColumnText, row);
        const size_t begin = text.find_first_not_of(' ');
        const size_t end = text.find_last_not_of(' ');
        stats.textLength += begin == std::string::npos ? 0 : static_cast<DWORD>(end - begin + 1);
    }
}

void CNoteManagerController::PointAtSelectedRow(int offset)
{
    const int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
    RECT rect = {};
    if (row < 0 || !ListView_GetItemRect(m_list, row, &rect, LVIR_BOUNDS))
        return;
    POINT point = {rect.left + offset, (rect.top + rect.bottom) / 2};
    ClientToScreen(m_list, &point);
    SetCursorPos(point.x, point.y);
}

void CNoteManagerController::EnableListMenu(HMENU menu, const CSelectionStats& stats)
{
    const UINT ids[] = {ID_NM_SEND, ID_NM_NOTE_SETTINGS, ID_NM_STAY_ON_TOP, ID_NM_LOCK, ID_NM_ASSOCIATE,
                        ID_NM_SHOW_NOTES, ID_NM_HIDE_NOTES, ID_NM_PRINT, ID_NM_DUPLICATE, ID_NM_DELETE};
    auto enable = [menu](UINT id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    const int groupPopup = 7;
    if (IsDeletedView()) {
        for (UINT id : ids)
            enable(id, false);
        EnableMenuItem(menu, groupPopup, MF_BYPOSITION | MF_GRAYED);
        return;
    }
    enable(ID_NM_UNDELETE, false);
    enable(ID_NM_HIDE_NOTES, stats.visible > 0);
    enable(ID_NM_DELETE, stats.locked == 0 && stats.closedProtectedLocked == 0);
    enable(ID_NM_ASSOCIATE, (stats.associated == 0 || stats.associated == stats.selected) && stats.sameAssociations);
    enable(ID_NM_NOTE_SETTINGS, stats.selected <= 1);
    enable(ID_NM_LOCK, stats.locked == 0 || stats.locked == stats.selected);
    enable(ID_NM_STAY_ON_TOP, stats.onTop == 0 || stats.onTop == stats.selected);
    enable(ID_NM_PRINT, stats.textLength > 0);
}

void CNoteManagerController::TrackListMenu()
{
    if (ListView_GetSelectedCount(m_list) == 0)
        return;
    if (m_busySending) {
        MessageBeep(0);
        return;
    }
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_NOTE_MANAGER_LIST));
    if (!loaded) {
        ShowMessageBox(m_dialog, "CNoteManagerController::LoadMenu for listview failed", ProgramTitle, kMbOk);
        return;
    }
    HMENU menu = GetSubMenu(loaded, 0);
    CSelectionStats& stats = m_lastStats;
    CollectSelectionStats(stats);
    const bool several = stats.selected > 1;
    const bool anyLocked = stats.locked > 0;
    const bool anyGroup = [&] {
        for (CNoteController* note : SelectedNotes()) {
            const int group = note->FindGroupId(-1);
            if (group >= 0 && static_cast<DWORD>(group) != NoteGroupGlobalIds().none)
                return true;
        }
        return false;
    }();
    if (stats.onTop)
        CheckMenuItem(menu, ID_NM_STAY_ON_TOP, MF_BYCOMMAND | MF_CHECKED);
    EnableListMenu(menu, stats);
    m_listMenu.Attach(GetModuleHandleA(nullptr), menu, &ImageList(0));
    m_listMenu.SetSize(GetMenuItemCount(menu));
    struct Entry {
        UINT id;
        const char* text;
        int image, hotImage;
    };
    const Entry entries[] = {
        {ID_NM_SEND, "Send &to...\tCtrl+Enter", kIconSend, kIconSendHot},
        {ID_NM_NOTE_SETTINGS, "Note settings...\tCtrl+G", kIconSettings, kIconSettingsHot},
        {kMakeSeparatorId, "", 2, -1},
        {ID_NM_STAY_ON_TOP, "S&tay on top\tCtrl+T", kIconOnTop, kIconOnTopHot},
        {ID_NM_LOCK, anyLocked ? "Un&lock\tCtrl+L" : "&Lock\tCtrl+L", anyLocked ? kIconUnlock : kIconLock,
         anyLocked ? kIconUnlockHot : kIconLockHot},
        {kMakeSeparatorId, "", 5, -1},
        {ID_NM_ASSOCIATE, several ? "Associate notes with..." : "Associate note with...",
         stats.associated ? kIconAssociate : -1, stats.associated ? kIconAssociateHot : -1},
        {kFirstPopupId + 7, "&Assign to group", anyGroup ? kIconGroup : -1, anyGroup ? kIconGroupHot : -1},
        {kMakeSeparatorId, "", 8, -1},
        {ID_NM_SHOW_NOTES, "&Show\tEnter", -1, -1},
        {ID_NM_HIDE_NOTES, "&Hide\tCtrl+H", -1, -1},
        {ID_NM_PRINT, "&Print\tCtrl+P ", kIconPrint, kIconPrintHot},
        {ID_NM_DUPLICATE, "&Duplicate\tCtrl+D", kIconDuplicate, kIconDuplicate},
        {ID_NM_DELETE, "D&elete \tCtrl+F4", kIconDelete, kIconDeleteHot},
        {ID_NM_UNDELETE, "&Undelete\t", -1, -1},
    };
    int position = 0;
    for (const Entry& entry : entries) {
        const bool checked = entry.id == ID_NM_STAY_ON_TOP && stats.onTop;
        m_listMenu.InitMenuStructures(position++, entry.text, entry.id, entry.image, entry.hotImage, checked ? 1 : 0,
                                      kNoRecolour, false);
    }
    if (!GetSubMenu(menu, 7)) {
        ShowMessageBox(m_dialog, "Error loading the tray icon menu(3). Please try again.", ProgramTitle, kMbOk);
        DestroyMenu(loaded);
        return;
    }
    m_groupSubmenuBuilt = false;
    POINT cursor = {};
    GetCursorPos(&cursor);
    m_listMenu.TrackPopup(TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, m_dialog);
    m_listMenu.Detach();
    m_groupMenu.Detach();
    m_measuring = 0;
    DestroyMenu(loaded);
}

bool CNoteManagerController::OnMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_INITMENUPOPUP: {
        HMENU popup = reinterpret_cast<HMENU>(wParam);
        if (m_listMenu.GetMenu() && popup == m_listMenu.GetMenu()) {
            m_measuring = 1;
        } else if (m_listMenu.GetMenu() && popup == GetSubMenu(m_listMenu.GetMenu(), 7)) {
            m_measuring = 2;
            BuildGroupSubmenu(popup);
        }
        return false;
    }
    case WM_MEASUREITEM: {
        // Only the menus are measured now: the style combo was, with the window.
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU) {
            const bool style = measure->CtlID == IDC_NM_STYLE;
            ShowMessageBox(m_dialog, style ? "OnMeasureItem IDC_COMBO_STYLE " : "OnMeasureItem other control ",
                           ProgramTitle, kMbOk);
            return false;
        }
        if (m_columnsMenu.IsTracking() || m_columnsMenu.IsBuilt())
            m_columnsMenu.MeasureItem(measure);
        else if (m_measuring == 2)
            m_groupMenu.MeasureItem(measure);
        else
            m_listMenu.MeasureItem(measure);
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType == ODT_COMBOBOX && draw->CtlID == IDC_NM_STYLE) {
            m_styleCombo->DrawItem(*draw);
            result = TRUE;
            return true;
        }
        if (draw->CtlType != ODT_MENU)
            return false;
        HMENU menu = reinterpret_cast<HMENU>(draw->hwndItem);
        if (menu == m_columnsMenu.GetMenu())
            m_columnsMenu.DrawItem(draw);
        else if (menu == m_groupMenu.GetMenu())
            m_groupMenu.DrawItem(draw);
        else
            m_listMenu.DrawItem(draw);
        result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

void CNoteManagerController::OnListKey(WORD key)
{
    if (m_busySending) {
        MessageBeep(0);
        return;
    }
    const bool ctrl = KeyDown(VK_CONTROL);
    const bool shift = KeyDown(VK_SHIFT);
    switch (key) {
    case VK_RETURN:
        if (ctrl)
            SendSelectedNotes();
        else if (shift)
            IsWindowEnabled(GetDlgItem(m_dialog, IDC_NM_HIDE)) ? HideSelectedNotes() : void(MessageBeep(0));
        else
            ShowSelectedNotes();
        return;
    case VK_DELETE:
        IsDeletedView() ? void(MessageBeep(0)) : DeleteSelectedNotes(true);
        return;
    case VK_F4:
        if (ctrl)
            IsDeletedView() ? void(MessageBeep(0)) : DeleteSelectedNotes(false);
        return;
    default:
        break;
    }
    if (!ctrl)
        return;
    switch (key) {
    case 'G':
        OpenNoteSettings();
        break;
    case 'L':
        LockSelectedNotes();
        break;
    case 'T':
        ToggleStayOnTop(shift);
        break;
    case 'P':
        PrintSelectedNotes();
        break;
    case 'D':
        DuplicateSelectedNotes();
        break;
    case 'A':
        SelectAll();
        break;
    case 'H':
        HideSelectedNotes();
        break;
    default:
        break;
    }
}
