// The hotkey key table and the table of actions the Settings sheet edits.
#include "shell/HotkeyActionTable.h"

#include <cstdio>

#include "calendar/CalendarSettings.h"
#include "resources/ids/HotkeyIds.h"
#include "shell/Hotkeys.h"
#include "globals/CalendarStyle.h"
#include "globals/ProgramGlobals.h"

const int kHotkeyActionIds[kHotkeyActionCount] = {
    kHotkeyNewNote,     kHotkeyNewClipboardNote, kHotkeyShowAll,    kHotkeyHideAll,     kHotkeyShowLast,
    kHotkeyShowDesktop, kHotkeyParkDesktop,      kHotkeyFindText,   kHotkeyNewAlarmNote, kHotkeyNoteManager,
    kHotkeyFavourites,  kHotkeyCalendar,         150, 151, 152, 153, 154, 155, 156, 157, 158,
};

namespace {
const char* const kActionNames[kHotkeyActionCount] = {
    "New note",         "New note with clipboard content", "Show all notes", "Hide all notes",
    "Show last created note", "Show desktop notes", "Park desktop notes", "Find text",
    "New note with alarm set", "Note Manager", "Favourite files and folders", "Calendar",
    "Style 1", "Style 2", "Style 3", "Style 4", "Style 5", "Style 6", "Style 7", "Style 8", "Style 9",
};

void AddKey(HINSTANCE instance, unsigned long code, UINT stringId, const char* name)
{
    if (HotkeyKeyTableCount >= kHotkeyKeyTableSize)
        return;
    CHotkeyKeyName& row = HotkeyKeyTable[HotkeyKeyTableCount++];
    row.code = code;
    row.name[0] = 0;
    if (!stringId || LoadStringA(instance, stringId, row.name, sizeof row.name) <= 0)
        std::snprintf(row.name, sizeof row.name, "%s", name);
}

CHotkeyActionEntry HotkeyActionEntryOf(DWORD enabled, const CHotkeySetting& keys, const char* name)
{
    CHotkeyActionEntry entry{};
    entry.enabled = enabled;
    entry.ctrl = keys.ctrl;
    entry.alt = keys.alt;
    entry.shift = keys.shift;
    entry.key = keys.key;
    std::snprintf(entry.name, sizeof entry.name, "%.49s", name);
    return entry;
}
}

void FillHotkeyKeyTable(HINSTANCE instance)
{
    // Each key beside its own name: the arrows are 37 left, 38 up, 39 right, 40 down.
    static const struct {
        unsigned long code;
        UINT id;
        const char* name;
    } named[] = {
        {8, IDS_KEY_BACKSPACE, "Backspace"}, {9, IDS_KEY_TAB, "Tab"},           {13, IDS_KEY_ENTER, "Enter"},
        {27, IDS_KEY_ESCAPE, "Escape"},      {32, IDS_KEY_SPACEBAR, "Spacebar"}, {33, IDS_KEY_PAGE_UP, "Page up"},
        {34, IDS_KEY_PAGE_DOWN, "Page down"}, {35, IDS_KEY_END, "End"},          {36, IDS_KEY_HOME, "Home"},
        {37, IDS_KEY_LEFT, "Left arrow"},    {38, IDS_KEY_UP, "Up arrow"},       {39, IDS_KEY_RIGHT, "Right arrow"},
        {40, IDS_KEY_DOWN, "Down arrow "},   {45, IDS_KEY_INSERT, "Insert"},     {46, IDS_KEY_DELETE, "Delete"},
    };
    HotkeyKeyTableCount = 0;
    for (const auto& key : named)
        AddKey(instance, key.code, key.id, key.name);
    char name[4];
    for (unsigned long code = '0'; code <= '9'; ++code) {
        std::snprintf(name, sizeof name, "%c", static_cast<char>(code));
        AddKey(instance, code, 0, name);
    }
    for (unsigned long code = 'A'; code <= 'Z'; ++code) {
        std::snprintf(name, sizeof name, "%c", static_cast<char>(code));
        AddKey(instance, code, 0, name);
    }
    for (unsigned long code = VK_F1; code <= VK_F12; ++code) {
        std::snprintf(name, sizeof name, "F%lu", code - VK_F1 + 1);
        AddKey(instance, code, 0, name);
    }
}

void BuildHotkeyActionTable(HotkeyActionTable& table, DWORD groupToSelect, DWORD applied)
{
    const CUserSettings& user = UserSettings();
    const CCalendarStyle& calendar = CurrentCalendarOptions();
    table.groupToSelect = groupToSelect;
    table.applied = applied;
    table.stylesEnabled = user.hotkeyEnabled[kEnableStyles];
    const CHotkeySetting* userKeys[] = {&user.newNote,     &user.newClipboardNote, &user.showAll,
                                        &user.hideAll,     &user.showLast,         &user.showDesktop,
                                        &user.parkDesktop, &user.findText,         &user.newAlarmNote,
                                        &user.noteManager, &user.favourites};
    for (int row = 0; row < 11; ++row)
        table.actions[row] = HotkeyActionEntryOf(user.hotkeyEnabled[row], *userKeys[row], kActionNames[row]);
    table.actions[11] = HotkeyActionEntryOf(calendar.hotkeyAllow,
                              MakeHotkey(calendar.hotkeyCtrl, calendar.hotkeyAlt, calendar.hotkeyShift,
                                         calendar.hotkeyKey),
                              kActionNames[11]);
    // The style rows carry their real keys, so that the page finds clashes with them.
    for (int style = 0; style < 9; ++style) {
        table.actions[kHotkeyStyleEntry + style] = HotkeyActionEntryOf(
            table.stylesEnabled, MakeHotkey(0, 1, 1, '1' + style), kActionNames[kHotkeyStyleEntry + style]);
    }
    table.groups.RemoveAll();
    for (auto* node = GroupsList().GetFirst(); node; node = node->next) {
        const CNoteGroup& group = node->record;
        if (group.editable[0] == '0')
            continue;
        CHotkeyGroupEntry entry{};
        entry.group = group;
        std::snprintf(entry.enableTip, sizeof entry.enableTip, "Click to enable the '%s' group hotkey", group.name);
        std::snprintf(entry.disableTip, sizeof entry.disableTip, "Click to disable the '%s' group hotkey",
                      group.name);
        table.groups.AddToTail(entry);
    }
}

void TakeHotkeyActionTable(const HotkeyActionTable& table)
{
    CUserSettings& user = UserSettings();
    CHotkeySetting* userKeys[] = {&user.newNote,     &user.newClipboardNote, &user.showAll,
                                  &user.hideAll,     &user.showLast,         &user.showDesktop,
                                  &user.parkDesktop, &user.findText,         &user.newAlarmNote,
                                  &user.noteManager, &user.favourites};
    for (int row = 0; row < 11; ++row) {
        const CHotkeyActionEntry& entry = table.actions[row];
        user.hotkeyEnabled[row] = entry.enabled != 0;
        *userKeys[row] = MakeHotkey(entry.ctrl, entry.alt, entry.shift, entry.key);
    }
    user.hotkeyEnabled[kEnableStyles] = table.stylesEnabled != 0;
    CCalendarStyle& calendar = CurrentCalendarOptions();
    const CHotkeyActionEntry& entry = table.actions[11];
    calendar.hotkeyAllow = entry.enabled != 0;
    calendar.hotkeyCtrl = entry.ctrl;
    calendar.hotkeyAlt = entry.alt;
    calendar.hotkeyShift = entry.shift;
    calendar.hotkeyKey = entry.key;
}
