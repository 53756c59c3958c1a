// The System-wide hotkeys page of the settings sheet: each action hotkey
// switched on or off with its keys shown as a link that opens the
// key-combination dialog, the style hotkeys' one switch, and the hotkey of
// each note group. A combination already in use is reported, not refused.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/LinkStatic.h"
#include "foundation/win/Tooltips.h"
#include "resources/ids/HotkeysPageIds.h"
#include "shell/HotkeyConflict.h"
#include "shell/HotkeyDialog.h"
#include "globals/CalendarStyle.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/SettingsPageControls.h"
#include "shell/SettingsPages.h"

namespace {
struct ActionRow {
    int check;
    int keys;
    UINT caption;
};
// In the table's entry order.
const ActionRow kRows[] = {
    {IDC_HOTKEYS_NEW_NOTE, IDC_HOTKEYS_NEW_NOTE_KEYS, IDS_HOTKEYS_NEW_NOTE},
    {IDC_HOTKEYS_CLIPBOARD_NOTE, IDC_HOTKEYS_CLIPBOARD_NOTE_KEYS, IDS_HOTKEYS_CLIPBOARD_NOTE},
    {IDC_HOTKEYS_SHOW_ALL, IDC_HOTKEYS_SHOW_ALL_KEYS, IDS_HOTKEYS_SHOW_ALL},
    {IDC_HOTKEYS_HIDE_ALL, IDC_HOTKEYS_HIDE_ALL_KEYS, IDS_HOTKEYS_HIDE_ALL},
    {IDC_HOTKEYS_SHOW_LAST, IDC_HOTKEYS_SHOW_LAST_KEYS, IDS_HOTKEYS_SHOW_LAST},
    {IDC_HOTKEYS_SHOW_DESKTOP, IDC_HOTKEYS_SHOW_DESKTOP_KEYS, IDS_HOTKEYS_SHOW_DESKTOP},
    {IDC_HOTKEYS_PARK_DESKTOP, IDC_HOTKEYS_PARK_DESKTOP_KEYS, IDS_HOTKEYS_PARK_DESKTOP},
    {IDC_HOTKEYS_FIND_TEXT, IDC_HOTKEYS_FIND_TEXT_KEYS, IDS_HOTKEYS_FIND_TEXT},
    {IDC_HOTKEYS_ALARM_NOTE, IDC_HOTKEYS_ALARM_NOTE_KEYS, IDS_HOTKEYS_ALARM_NOTE},
    {IDC_HOTKEYS_NOTE_MANAGER, IDC_HOTKEYS_NOTE_MANAGER_KEYS, IDS_HOTKEYS_NOTE_MANAGER},
    {IDC_HOTKEYS_FAVOURITES, IDC_HOTKEYS_FAVOURITES_KEYS, IDS_HOTKEYS_FAVOURITES},
    {IDC_HOTKEYS_CALENDAR, IDC_HOTKEYS_CALENDAR_KEYS, IDS_HOTKEYS_CALENDAR},
};
const int kRowCount = sizeof(kRows) / sizeof(kRows[0]);
// Show desktop, park, find text and alarm note: a hotkey the program acts on
// while keys are still held, limited to the letters and digits when the
// other three already are.
const int kFirstRestrictedRow = 5;
const int kLastRestrictedRow = 8;
const DWORD kPageHighestRestrictedKey = 100;

std::string HotkeysPageText(UINT id)
{
    char text[256] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

class CHotkeysPage {
public:
    CHotkeysPage(HWND page, HotkeyActionTable& table);

    void OnCommand(int id, int code);
    void DrawKeys(const DRAWITEMSTRUCT& item);
    HotkeyActionTable& Table() { return m_table; }

private:
    void UpdateRow(int row);
    void UpdateGroupRow();
    CHotkeyGroupEntry* SelectedGroup();
    DWORD RestrictionOf(int row) const;
    void EditRowKeys(int row);
    void EditGroupKeys();
    void ResetToStandard();
    void CheckRow(int row);
    void CheckGroup(const CHotkeyGroupEntry& entry);
    void SetTip(HWND control, const char* text);

    HWND m_page;
    HotkeyActionTable& m_table;
    std::unique_ptr<CLinkStatic> m_links[kRowCount + 1];  // the last is the group's
    HWND m_tooltip = nullptr;
    std::string m_enableTip;
    std::string m_disableTip;
};

CHotkeysPage::CHotkeysPage(HWND page, HotkeyActionTable& table)
    : m_page(page), m_table(table), m_enableTip(HotkeysPageText(IDS_HOTKEYS_ENABLE_TIP)),
      m_disableTip(HotkeysPageText(IDS_HOTKEYS_DISABLE_TIP))
{
    for (int row = 0; row < kRowCount; ++row)
        m_links[row].reset(new CLinkStatic(page, kRows[row].keys));
    m_links[kRowCount].reset(new CLinkStatic(page, IDC_HOTKEYS_GROUP_KEYS));

    HWND groups = GetDlgItem(page, IDC_HOTKEYS_GROUPS);
    int selected = 0;
    int index = 0;
    for (auto* node = table.groups.GetFirst(); node; node = node->next, ++index) {
        const LRESULT item = SendMessageA(groups, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(node->record.group.name));
        if (item >= 0)
            SendMessageA(groups, CB_SETITEMDATA, item, reinterpret_cast<LPARAM>(&node->record));
        if (node->record.group.id == table.groupToSelect)
            selected = static_cast<int>(item);
    }
    SendMessageA(groups, CB_SETCURSEL, selected, 0);

    for (int row = 0; row < kRowCount; ++row)
        CheckItem(page, kRows[row].check, table.actions[row].enabled);
    CheckItem(page, IDC_HOTKEYS_STYLES, table.stylesEnabled);

    m_tooltip = CreateTooltipControl(page);
    for (int row = 0; row < kRowCount; ++row)
        AddTooltipSubclass(m_tooltip, "", page, GetDlgItem(page, kRows[row].check));
    AddTooltipSubclass(m_tooltip, "", page, GetDlgItem(page, IDC_HOTKEYS_GROUP));
    for (int row = 0; row < kRowCount; ++row)
        UpdateRow(row);
    UpdateGroupRow();
    if (table.groupToSelect > 0)
        PostMessageA(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(groups), TRUE);
}

void CHotkeysPage::SetTip(HWND control, const char* text)
{
    if (m_tooltip)
        UpdateTooltipSubclassText(m_tooltip, text, m_page, control);
}

void CHotkeysPage::UpdateRow(int row)
{
    const CHotkeyActionEntry& entry = m_table.actions[row];
    HWND keys = GetDlgItem(m_page, kRows[row].keys);
    SetWindowTextA(keys, HotkeyCombinationText(entry.ctrl, entry.alt, entry.shift, entry.key).c_str());
    const bool on = ItemChecked(m_page, kRows[row].check) != 0;
    EnableWindow(keys, on ? TRUE : FALSE);
    InvalidateRect(keys, nullptr, TRUE);
    SetTip(GetDlgItem(m_page, kRows[row].check), on ? m_disableTip.c_str() : m_enableTip.c_str());
}

CHotkeyGroupEntry* CHotkeysPage::SelectedGroup()
{
    HWND groups = GetDlgItem(m_page, IDC_HOTKEYS_GROUPS);
    const LRESULT item = SendMessageA(groups, CB_GETCURSEL, 0, 0);
    if (item < 0)
        return nullptr;
    const LRESULT data = SendMessageA(groups, CB_GETITEMDATA, item, 0);
    return data == CB_ERR ? nullptr : reinterpret_cast<CHotkeyGroupEntry*>(data);
}

void CHotkeysPage::UpdateGroupRow()
{
    CHotkeyGroupEntry* entry = SelectedGroup();
    HWND keys = GetDlgItem(m_page, IDC_HOTKEYS_GROUP_KEYS);
    HWND check = GetDlgItem(m_page, IDC_HOTKEYS_GROUP);
    EnableWindow(check, entry ? TRUE : FALSE);
    if (!entry) {
        SetWindowTextA(keys, "");
        EnableWindow(keys, FALSE);
        return;
    }
    const CNoteGroup& group = entry->group;
    CheckItem(m_page, IDC_HOTKEYS_GROUP, group.hotkey_ifAllow);
    SetWindowTextA(keys,
                   HotkeyCombinationText(group.hotkey_ctrl, group.hotkey_alt, group.hotkey_shift, group.hotkey_key)
                       .c_str());
    EnableWindow(keys, group.hotkey_ifAllow ? TRUE : FALSE);
    InvalidateRect(keys, nullptr, TRUE);
    SetTip(check, group.hotkey_ifAllow ? entry->disableTip : entry->enableTip);
}

DWORD CHotkeysPage::RestrictionOf(int row) const
{
    if (row < kFirstRestrictedRow || row > kLastRestrictedRow)
        return 0;
    for (int other = kFirstRestrictedRow; other <= kLastRestrictedRow; ++other) {
        if (other != row && m_table.actions[other].key <= kPageHighestRestrictedKey)
            return 0;
    }
    return 1;
}

void CHotkeysPage::CheckRow(int row)
{
    const CHotkeyActionEntry& entry = m_table.actions[row];
    CheckHotkeyConflict(m_page, m_table.groups, m_table.actions, entry.name, -1, entry.ctrl, entry.alt, entry.shift,
                        entry.key);
}

void CHotkeysPage::CheckGroup(const CHotkeyGroupEntry& entry)
{
    const CNoteGroup& group = entry.group;
    CheckHotkeyConflict(m_page, m_table.groups, m_table.actions, group.name, static_cast<long>(group.id),
                        group.hotkey_ctrl, group.hotkey_alt, group.hotkey_shift, group.hotkey_key);
}

void CHotkeysPage::EditRowKeys(int row)
{
    CHotkeyActionEntry& entry = m_table.actions[row];
    if (!AskForKeys(m_page, HotkeysPageText(kRows[row].caption), RestrictionOf(row), entry.ctrl, entry.alt, entry.shift,
                    entry.key))
        return;
    UpdateRow(row);
    CheckRow(row);
}

void CHotkeysPage::EditGroupKeys()
{
    CHotkeyGroupEntry* entry = SelectedGroup();
    if (!entry)
        return;
    CNoteGroup& group = entry->group;
    if (!AskForKeys(m_page, "'" + std::string(group.name) + "' note group", 0, group.hotkey_ctrl, group.hotkey_alt,
                    group.hotkey_shift, group.hotkey_key))
        return;
    UpdateGroupRow();
    CheckGroup(*entry);
}

void CHotkeysPage::ResetToStandard()
{
    const CConfigSettings& config = ConfigSettings();
    const CCalendarStyle& calendar = StandardCalendarOptions();
    const CHotkeySetting standard[] = {
        config.newNote,     config.newClipboardNote, config.showAll,      config.hideAll,
        config.showLast,    config.showDesktop,      config.parkDesktop,  config.findText,
        config.newAlarmNote, config.noteManager,     config.favourites,
        MakeHotkey(calendar.hotkeyCtrl, calendar.hotkeyAlt, calendar.hotkeyShift, calendar.hotkeyKey),
    };
    for (int row = 0; row < kRowCount; ++row) {
        CHotkeyActionEntry& entry = m_table.actions[row];
        entry.enabled = 1;
        entry.ctrl = standard[row].ctrl;
        entry.alt = standard[row].alt;
        entry.shift = standard[row].shift;
        entry.key = standard[row].key;
        CheckItem(m_page, kRows[row].check, 1);
        UpdateRow(row);
    }
    m_table.stylesEnabled = 1;
    CheckItem(m_page, IDC_HOTKEYS_STYLES, 1);
    for (auto* node = m_table.groups.GetFirst(); node; node = node->next) {
        CNoteGroup& group = node->record.group;
        group.hotkey_ifAllow = 0;
        group.hotkey_ctrl = 0;
        group.hotkey_alt = 1;
        group.hotkey_shift = 1;
        group.hotkey_key = 'G';
    }
    UpdateGroupRow();
}

void CHotkeysPage::OnCommand(int id, int code)
{
    if (id == IDC_HOTKEYS_GROUPS) {
        if (code == CBN_SELCHANGE)
            UpdateGroupRow();
        return;
    }
    if (id == IDCANCEL) {
        // Escape on a link closes the sheet as Cancel.
        PostDialogCancel(GetParent(m_page));
        return;
    }
    if (code != BN_CLICKED)
        return;
    for (int row = 0; row < kRowCount; ++row) {
        if (id == kRows[row].check) {
            m_table.actions[row].enabled = ItemChecked(m_page, id);
            UpdateRow(row);
            if (m_table.actions[row].enabled)
                CheckRow(row);
            return;
        }
        if (id == kRows[row].keys) {
            EditRowKeys(row);
            return;
        }
    }
    switch (id) {
    case IDC_HOTKEYS_STYLES:
        m_table.stylesEnabled = ItemChecked(m_page, id);
        break;
    case IDC_HOTKEYS_GROUP:
        if (CHotkeyGroupEntry* entry = SelectedGroup()) {
            entry->group.hotkey_ifAllow = ItemChecked(m_page, id);
            if (entry->group.hotkey_ifAllow)
                CheckGroup(*entry);
            UpdateGroupRow();
        }
        break;
    case IDC_HOTKEYS_GROUP_KEYS:
        EditGroupKeys();
        break;
    case IDC_HOTKEYS_RESET:
        ResetToStandard();
        break;
    default:
        break;
    }
}

void CHotkeysPage::DrawKeys(const DRAWITEMSTRUCT& item)
{
    for (auto& link : m_links) {
        if (link && static_cast<UINT>(link->GetControlId()) == item.CtlID) {
            link->DrawOwnerDrawListItem(item);
            return;
        }
    }
}

CHotkeysPage* PageObject(HWND page)
{
    return reinterpret_cast<CHotkeysPage*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}
}

INT_PTR CALLBACK HotkeysPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            HotkeyActionTable* table = PageCreationData<HotkeyActionTable>(lParam);
            SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new CHotkeysPage(page, *table)));
            return TRUE;
        }
        CHotkeysPage* object = PageObject(page);
        if (!object)
            return FALSE;
        switch (message) {
        case WM_COMMAND:
            object->OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DRAWITEM:
            object->DrawKeys(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_NOTIFY:
            return AnswerPageNotify(page, reinterpret_cast<const NMHDR*>(lParam)->code, object->Table().applied,
                                    IDH_HOTKEYS_PAGE, [] { return true; });
        case WM_HELP:
            ShowHelpTopic(page, IDH_HOTKEYS_PAGE);
            return TRUE;
        case WM_DESTROY:
            SetWindowLongPtrA(page, GWLP_USERDATA, 0);
            delete object;
            return FALSE;
        default:
            return FALSE;
        }
    });
}
