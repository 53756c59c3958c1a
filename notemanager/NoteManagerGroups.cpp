#include "notemanager/NoteManagerController.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/Tooltips.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "note/NotesAction.h"
#include "notemanager/NoteManagerEntry.h"
#include "notemanager/NoteManagerFile.h"
#include "notemanager/NoteManagerGroupMembers.h"
#include "noteprops/StyleSample.h"
#include "resources/ids/ComboBoxMenuIds.h"
#include "resources/ids/NoteManagerIds.h"
#include "store/StyleStorage.h"

namespace {
const int kStyleNameLength = 25;
const char kStyleWord[] = "Style ";
const int kGroupHotkeyBase = 28;

std::string ComboText(HWND combo, int index)
{
    char text[128] = "";
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length >= 0 && length < static_cast<LRESULT>(sizeof text))
        SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

CNoteGroup* GroupOfItem(HWND combo, int index)
{
    const LRESULT data = SendMessageA(combo, CB_GETITEMDATA, index, 0);
    return data == CB_ERR ? nullptr : reinterpret_cast<CNoteGroup*>(data);
}

std::string DuplicateNameText(const char* name, const char* kind, const char* what)
{
    return std::string("Sorry, the name you have just entered ('") + name + "')\r\n    is already in the list of " +
           kind + ".\r\n\r\nPlease choose another " + what + " name.";
}

// The first user group whose name sorts after the name, else the end.
int InsertionPlace(HWND combo, const char* name)
{
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const CNoteGroup* group = GroupOfItem(combo, i);
        if (group && lstrcmpA(group->editable, "1") == 0 && lstrcmpiA(group->name, name) > 0)
            return i;
    }
    return count;
}

bool IsFixedGroup(const CNoteGroup* group)
{
    return !group || lstrcmpA(group->editable, "1") != 0;
}
}

void CNoteManagerController::FillCombos()
{
    m_styleCombo = std::make_unique<CDlgComboBoxStyle>(m_dialog, IDC_NM_STYLE, [](HDC dc, const RECT& rect, int item) {
        if (item >= 1 && item <= 9)
            DrawStyleSample(dc, 0, 0, rect, false, false, UserSettings().styles[item - 1]);
    });
    m_groupCombo = std::make_unique<CDlgComboBoxGroup>(m_dialog, IDC_NM_GROUP, [](int index) {
        GroupHotkey hotkey;
        HWND combo = GetDlgItem(FindNoteManagerWindow(), IDC_NM_GROUP);
        if (const CNoteGroup* group = GroupOfItem(combo, index)) {
            hotkey.set = group->hotkey_ifAllow != 0;
            hotkey.ctrl = group->hotkey_ctrl != 0;
            hotkey.alt = group->hotkey_alt != 0;
            hotkey.shift = group->hotkey_shift != 0;
            hotkey.key = group->hotkey_key;
        }
        return hotkey;
    });
    HWND styles = GetDlgItem(m_dialog, IDC_NM_STYLE);
    HWND groups = GetDlgItem(m_dialog, IDC_NM_GROUP);
    if (HWND tooltip = CreateTooltipControl(m_dialog)) {
        AddTooltipSubclass(tooltip, "Right click to rename style ", m_dialog, styles);
        AddTooltipSubclass(tooltip, "Right click to rename, delete or create new group", m_dialog, groups);
    }
    SendMessageA(styles, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("All"));
    for (int i = 0; i < 9; ++i) {
        char text[80];
        const char* name = UserSettings().styles[i].name;
        bool blank = true;
        for (const char* c = name; *c; ++c)
            blank = blank && *c == ' ';
        if (blank)
            std::snprintf(text, sizeof text, "%s%d", kStyleWord, i + 1);
        else
            std::snprintf(text, sizeof text, "%s%d - '%s'", kStyleWord, i + 1, name);
        SendMessageA(styles, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    for (auto* node = GroupsList().GetFirst(); node; node = node->next) {
        const LRESULT item = SendMessageA(groups, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(node->record.name));
        if (item >= 0)
            SendMessageA(groups, CB_SETITEMDATA, item, reinterpret_cast<LPARAM>(&node->record));
    }
}

int CNoteManagerController::FindGroupComboIndex(DWORD id)
{
    HWND combo = GetDlgItem(m_dialog, IDC_NM_GROUP);
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const CNoteGroup* group = GroupOfItem(combo, i);
        if (group && group->id == id)
            return i;
    }
    char text[100];
    std::snprintf(text, sizeof text, "The group ID %lu has not been found in the combo-box?!",
                  static_cast<unsigned long>(id));
    AppendTextToFile((std::string("\r\n") + text + "\r\n").c_str(), "error.txt");
    ShowMessageBox(m_dialog, text, ProgramTitle, kMbOk);
    return -1;
}

// The in-place edit over a combo: its text (empty for a new group).
void CNoteManagerController::BeginComboEdit(int comboId, bool withText, bool renaming, bool style)
{
    HWND combo = GetDlgItem(m_dialog, comboId);
    const int index = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    m_edit = CInPlaceEditOwner();
    m_edit.list = combo;
    m_edit.notify = m_dialog;
    GetWindowRect(combo, &m_edit.itemRect);
    MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&m_edit.itemRect), 2);
    if (withText && index >= 0)
        lstrcpynA(m_edit.text, ComboText(combo, index).c_str(), sizeof m_edit.text);
    m_edit.mode = renaming;
    m_edit.maxLength = kStyleNameLength;
    if (style)
        BeginInPlaceEditSecond(m_edit);
    else
        BeginInPlaceEdit(m_edit);
}

bool CNoteManagerController::OnComboMenuCommand(UINT id)
{
    HWND groups = GetDlgItem(m_dialog, IDC_NM_GROUP);
    const int groupIndex = static_cast<int>(SendMessageA(groups, CB_GETCURSEL, 0, 0));
    switch (id) {
    case ID_STYLE_COMBO_RENAME: {
        const LRESULT style = SendDlgItemMessageA(m_dialog, IDC_NM_STYLE, CB_GETCURSEL, 0, 0);
        if (style >= 1 && style <= 9)
            BeginComboEdit(IDC_NM_STYLE, true, true, true);
        return true;
    }
    case ID_GROUP_COMBO_CREATE:
        BeginComboEdit(IDC_NM_GROUP, false, false, false);
        return true;
    case ID_GROUP_COMBO_RENAME:
        if (!IsFixedGroup(GroupOfItem(groups, groupIndex)))
            BeginComboEdit(IDC_NM_GROUP, true, true, false);
        return true;
    case ID_GROUP_COMBO_DELETE:
        if (!IsFixedGroup(GroupOfItem(groups, groupIndex)))
            OnDeleteGroup();
        return true;
    case ID_GROUP_COMBO_HOTKEY:
        if (const CNoteGroup* group = GroupOfItem(groups, groupIndex)) {
            if (!IsFixedGroup(group) && GetNoteManagerServices().openGroupHotkeySettings)
                GetNoteManagerServices().openGroupHotkeySettings(static_cast<int>(group->id));
        }
        return true;
    case ID_STYLE_COMBO_CANCEL:
    case ID_GROUP_COMBO_CANCEL:
    case ID_GROUP_COMBO_RESET:
        return true;
    default:
        return false;
    }
}

// Another item of the combo already has the name (any case): the user is
// told. The same item with the very same text: nothing to do either.
bool CNoteManagerController::RefuseDuplicateName(HWND combo, int index, const char* name, bool groups)
{
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const std::string text = ComboText(combo, i);
        if (lstrcmpiA(text.c_str(), name) != 0)
            continue;
        if (i != index) {
            const std::string message =
                groups ? DuplicateNameText(name, "groups", "group") : DuplicateNameText(name, "styles", "style");
            ShowMessageBox(m_dialog, message.c_str(), ProgramTitle, kMbOk);
            return true;
        }
        if (text == name)
            return true;
    }
    return false;
}

void CNoteManagerController::RenameStyle(int index)
{
    HWND combo = GetDlgItem(m_dialog, IDC_NM_STYLE);
    if (index < 1 || index > 9 || RefuseDuplicateName(combo, index, m_edit.text, false))
        return;
    UserSettings().styles[index - 1].SetName(m_edit.text);
    SaveV6Style(index - 1);
    SendMessageA(combo, CB_DELETESTRING, index, 0);
    SendMessageA(combo, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(UserSettings().styles[index - 1].name));
    SendMessageA(combo, CB_SETCURSEL, index, 0);
}

void CNoteManagerController::RenameGroup(int index)
{
    HWND combo = GetDlgItem(m_dialog, IDC_NM_GROUP);
    CNoteGroup* group = GroupOfItem(combo, index);
    if (IsFixedGroup(group) || RefuseDuplicateName(combo, index, m_edit.text, true))
        return;
    SendMessageA(combo, CB_DELETESTRING, index, 0);
    const int place = InsertionPlace(combo, m_edit.text);
    lstrcpynA(group->name, m_edit.text, sizeof group->name);
    const LRESULT item = SendMessageA(combo, CB_INSERTSTRING, place, reinterpret_cast<LPARAM>(group->name));
    SendMessageA(combo, CB_SETITEMDATA, item, reinterpret_cast<LPARAM>(group));
    SendMessageA(combo, CB_SETCURSEL, item, 0);
    InvalidateRect(m_list, nullptr, FALSE);
}

void CNoteManagerController::AddGroup()
{
    HWND combo = GetDlgItem(m_dialog, IDC_NM_GROUP);
    if (RefuseDuplicateName(combo, -1, m_edit.text, true))
        return;
    const long id = NextNewGroupId(GroupsList());
    if (id < 0) {
        ShowMessageBox(m_dialog, "Sorry, no more groups can be created.\r\n\r\nPlease delete a group first.",
                       ProgramTitle, kMbOk);
        return;
    }
    const int place = InsertionPlace(combo, m_edit.text);
    CNoteGroup group;
    ResetNoteGroup(group);
    group.id = static_cast<DWORD>(id);
    lstrcpynA(group.name, m_edit.text, sizeof group.name);
    lstrcpynA(group.editable, "1", sizeof group.editable);
    GroupsList().AddToTail(group);
    CNoteGroup* added = nullptr;
    for (auto* node = GroupsList().GetFirst(); node; node = node->next) {
        if (node->record.id == group.id && lstrcmpA(node->record.name, group.name) == 0)
            added = &node->record;
    }
    const LRESULT item = SendMessageA(combo, CB_INSERTSTRING, place, reinterpret_cast<LPARAM>(group.name));
    if (added)
        SendMessageA(combo, CB_SETITEMDATA, item, reinterpret_cast<LPARAM>(added));
    else
        ShowMessageBox(m_dialog, "NULL pointer after adding a group??", ProgramTitle, kMbOk);
    SendMessageA(combo, CB_SETCURSEL, item, 0);
}

void CNoteManagerController::OnDeleteGroup()
{
    HWND combo = GetDlgItem(m_dialog, IDC_NM_GROUP);
    const int index = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    CNoteGroup* group = GroupOfItem(combo, index);
    if (!group)
        return;
    const DWORD id = group->id;
    SendMessageA(combo, CB_DELETESTRING, index, 0);
    RemoveGroupMembers(id);
    for (auto* node = GroupsList().GetFirst(); node; node = node->next) {
        if (node->record.id != id)
            continue;
        if (node->record.hotkey_ifAllow)
            UnregisterHotKey(GetMainWindow(), static_cast<int>(id) + kGroupHotkeyBase);
        GroupsList().Remove(node);
        break;
    }
    InvalidateRect(m_list, nullptr, FALSE);
    NoteManagerOptions().groupFilter = NoteGroupGlobalIds().all;
    SendMessageA(combo, CB_SETCURSEL, FindGroupComboIndex(NoteGroupGlobalIds().all), 0);
    EnableRadioGroups(true);
    RefillQuietly();
    UpdateStatus();
}

void CNoteManagerController::BuildGroupSubmenu(HMENU menu)
{
    if (m_groupSubmenuBuilt)
        return;
    m_groupSubmenuBuilt = true;
    DeleteMenu(menu, ID_NM_FIRST_GROUP, MF_BYCOMMAND);
    HWND combo = GetDlgItem(m_dialog, IDC_NM_GROUP);
    const GlobalGroupIds fixed = NoteGroupGlobalIds();
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    // The note whose group is checked: the one selected, or the group all
    // selected notes share.
    int reference = -2;
    for (int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_list, row, LVNI_SELECTED)) {
        CNoteController* note = NoteAt(row);
        const int group = note ? note->FindGroupId(-1) : -1;
        reference = reference == -2 || reference == group ? group : -3;
    }
    bool checked = false;
    UINT noneId = 0;
    for (int i = 0; i < count && ID_NM_FIRST_GROUP + i <= ID_NM_LAST_GROUP; ++i) {
        const CNoteGroup* group = GroupOfItem(combo, i);
        if (!group || group->id == fixed.all || group->id == fixed.deleted)
            continue;
        const UINT id = ID_NM_FIRST_GROUP + static_cast<UINT>(i);
        const bool check = reference >= 0 && static_cast<DWORD>(reference) == group->id;
        AppendMenuA(menu, MF_STRING | (check ? MF_CHECKED : 0), id, group->name);
        checked = checked || check;
        if (group->id == fixed.none)
            noneId = id;
    }
    if (!checked && noneId)
        CheckMenuItem(menu, noneId, MF_BYCOMMAND | MF_CHECKED);
    m_groupMenu.AttachPlainItems(GetModuleHandleA(nullptr), menu);
    for (int position = 0; position < m_groupMenu.GetCount(); ++position) {
        const CCoolMenuItem* item = m_groupMenu.GetItem(position);
        if (!(GetMenuState(menu, item->id, MF_BYCOMMAND) & MF_CHECKED))
            continue;
        const std::string text = item->text;
        const UINT id = item->id;
        m_groupMenu.InitMenuStructures(position, text.c_str(), id, -1, -1, 1, kNoRecolour, false);
    }
}

void CNoteManagerController::AssignSelectedToGroup(int comboIndex)
{
    const CNoteGroup* group = GroupOfItem(GetDlgItem(m_dialog, IDC_NM_GROUP), comboIndex);
    if (!group)
        return;
    // The file is written once for the whole selection. A note never stored
    // is stored to join the group: a held file costs its tries once.
    CNotesAction oneAction;
    for (CNoteController* note : SelectedNotes()) {
        PutInGroup(*note, group->id);
        const int row = RowOf(note);
        if (row >= 0)
            ListView_Update(m_list, row);
    }
    SaveNoteManagerXml();
    TellCalendarAlarmsChanged(GetMainWindow());
}
