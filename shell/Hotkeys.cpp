// Registering the system-wide hotkeys on the main window, and the groups'
// hotkeys taken over from the Settings sheet.
#include "shell/Hotkeys.h"

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWindow.h"
#include "globals/CalendarStyle.h"
#include "shell/NoteManagerFiles.h"
#include "globals/ProgramGlobals.h"

UINT HotkeyModifiers(DWORD ctrl, DWORD alt, DWORD shift)
{
    return (ctrl ? MOD_CONTROL : 0) | (alt ? MOD_ALT : 0) | (shift ? MOD_SHIFT : 0);
}

CHotkeySetting CalendarHotkey()
{
    const CCalendarStyle& calendar = CurrentCalendarOptions();
    return MakeHotkey(calendar.hotkeyCtrl, calendar.hotkeyAlt, calendar.hotkeyShift, calendar.hotkeyKey);
}

BOOL RegisterGlobalHotkey(HWND main, int id, const CHotkeySetting& keys)
{
    UnregisterHotKey(main, id);
    return RegisterHotKey(main, id, HotkeyModifiers(keys.ctrl, keys.alt, keys.shift), keys.key);
}

namespace {
// The user's combination of an action hotkey and its switch; null for an id
// that is not one of the user's.
const CHotkeySetting* UserCombination(int id, DWORD* enabled)
{
    const CUserSettings& user = UserSettings();
    struct Row {
        int id;
        const CHotkeySetting* keys;
        int enableIndex;
    };
    const Row rows[] = {
        {kHotkeyNewNote, &user.newNote, kEnableNewNote},
        {kHotkeyNewClipboardNote, &user.newClipboardNote, kEnableNewClipboardNote},
        {kHotkeyShowAll, &user.showAll, kEnableShowAll},
        {kHotkeyHideAll, &user.hideAll, kEnableHideAll},
        {kHotkeyShowLast, &user.showLast, kEnableShowLast},
        {kHotkeyShowDesktop, &user.showDesktop, kEnableShowDesktop},
        {kHotkeyParkDesktop, &user.parkDesktop, kEnableParkDesktop},
        {kHotkeyFindText, &user.findText, kEnableFindText},
        {kHotkeyNewAlarmNote, &user.newAlarmNote, kEnableNewAlarmNote},
        {kHotkeyNoteManager, &user.noteManager, kEnableNoteManager},
        {kHotkeyFavourites, &user.favourites, kEnableFavourites},
    };
    for (const Row& row : rows) {
        if (row.id == id) {
            if (enabled)
                *enabled = user.hotkeyEnabled[row.enableIndex];
            return row.keys;
        }
    }
    return nullptr;
}

// Registration order at start; the same order drops them at the end.
const int kActionOrder[] = {kHotkeyFavourites, kHotkeyNoteManager, kHotkeyFindText,   kHotkeyNewAlarmNote,
                            kHotkeyNewNote,    kHotkeyNewClipboardNote, kHotkeyShowAll, kHotkeyHideAll,
                            kHotkeyShowLast,   kHotkeyShowDesktop,  kHotkeyParkDesktop};

bool SameCombination(const CNoteGroup& a, const CNoteGroup& b)
{
    return a.hotkey_ctrl == b.hotkey_ctrl && a.hotkey_alt == b.hotkey_alt && a.hotkey_shift == b.hotkey_shift &&
           a.hotkey_key == b.hotkey_key;
}
}

BOOL RegisterActionHotkey(HWND main, int id)
{
    if (id == kHotkeyCalendar)
        return CalendarRegisterHotkey(main);
    const CHotkeySetting* keys = UserCombination(id, nullptr);
    return keys ? RegisterGlobalHotkey(main, id, *keys) : FALSE;
}

void RegisterStyleHotkeys(HWND main)
{
    for (int style = 0; style < 9; ++style)
        RegisterGlobalHotkey(main, kHotkeyFirstStyle + style, MakeHotkey(0, 1, 1, '1' + style));
}

void UnregisterStyleHotkeys(HWND main)
{
    for (int id = kHotkeyFirstStyle; id <= kHotkeyLastStyle; ++id)
        UnregisterHotKey(main, id);
}

BOOL RegisterGroupHotKey(HWND main, const CNoteGroup& group)
{
    if (group.id > kHotkeyLastGroup - kHotkeyFirstGroup)
        return FALSE;
    return RegisterGlobalHotkey(main, kHotkeyFirstGroup + static_cast<int>(group.id),
                                MakeHotkey(group.hotkey_ctrl, group.hotkey_alt, group.hotkey_shift, group.hotkey_key));
}

void UnregisterGroupHotkeys(HWND main)
{
    for (auto* node = GroupsList().GetFirst(); node; node = node->next) {
        if (node->record.hotkey_ifAllow && node->record.id <= kHotkeyLastGroup - kHotkeyFirstGroup)
            UnregisterHotKey(main, kHotkeyFirstGroup + static_cast<int>(node->record.id));
    }
}

void RegisterEnabledHotkeys(HWND main)
{
    if (CurrentCalendarOptions().hotkeyAllow)
        RegisterActionHotkey(main, kHotkeyCalendar);
    for (int id : kActionOrder) {
        DWORD enabled = 0;
        UserCombination(id, &enabled);
        if (enabled)
            RegisterActionHotkey(main, id);
    }
    if (UserSettings().hotkeyEnabled[kEnableStyles])
        RegisterStyleHotkeys(main);
}

void UnregisterAllHotkeys(HWND main)
{
    UnregisterHotKey(main, kHotkeyCalendar);
    for (int id : kActionOrder)
        UnregisterHotKey(main, id);
    UnregisterStyleHotkeys(main);
    UnregisterGroupHotkeys(main);
}

void ApplyGroupHotkeyChanges(HWND main, CRecordList<CHotkeyGroupEntry>& edited)
{
    bool anyChanged = false;
    for (auto* node = edited.GetFirst(); node; node = node->next) {
        const CNoteGroup& wanted = node->record.group;
        CNoteGroup* live = nullptr;
        for (auto* liveNode = GroupsList().GetFirst(); liveNode; liveNode = liveNode->next) {
            if (liveNode->record.id == wanted.id && lstrcmpiA(liveNode->record.name, wanted.name) == 0) {
                live = &liveNode->record;
                break;
            }
        }
        if (!live)
            continue;
        const bool changed = !SameCombination(*live, wanted) || live->hotkey_ifAllow != wanted.hotkey_ifAllow;
        if (live->hotkey_ifAllow && !wanted.hotkey_ifAllow && live->id <= kHotkeyLastGroup - kHotkeyFirstGroup)
            UnregisterHotKey(main, kHotkeyFirstGroup + static_cast<int>(live->id));
        live->hotkey_ctrl = wanted.hotkey_ctrl;
        live->hotkey_alt = wanted.hotkey_alt;
        live->hotkey_shift = wanted.hotkey_shift;
        live->hotkey_key = wanted.hotkey_key;
        if (changed && wanted.hotkey_ifAllow)
            RegisterGroupHotKey(main, *live);
        live->hotkey_ifAllow = wanted.hotkey_ifAllow;
        anyChanged = anyChanged || changed;
    }
    if (anyChanged)
        SaveNoteManagerXml();
}
