#include "note/SnoozeMenus.h"

#include <cstdio>

#include "foundation/DiagnosticLog.h"
#include "foundation/win/CoolMenu.h"
#include "foundation/win/MciSound.h"
#include "note/NoteController.h"
#include "resources/ids/SnoozeMenuIds.h"
#include "globals/GlobalTexts.h"

namespace {
// The snooze menu being shown, for its owner-drawn items.
CCoolMenu* g_shownMenu = nullptr;

bool IsKnownUnit(int unit)
{
    return unit >= kUnitMinutes && unit <= kUnitWeekdays;
}

// Writes the texts of the list's items; the last id goes when the list has
// no extra item.
int WriteItems(const SnoozeLayout& layout, int unit, int value, HMENU menu, UINT lastId)
{
    for (int position = 0; position < layout.count; ++position) {
        const int text = layout.textIndex[position];
        const std::string item =
            text >= 0 ? std::string(SnoozeChoices().periods[text]) : SnoozeItemText(unit, value, layout.singularText);
        const UINT id = ID_SNOOZE_FIRST + static_cast<UINT>(position);
        ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING, id, item.c_str());
    }
    if (layout.extraItem)
        return 1;
    DeleteMenu(menu, lastId, MF_BYCOMMAND);
    return 0;
}

bool IsStandardLayout(const SnoozeLayout& layout)
{
    return !layout.extraItem && layout.textIndex[layout.table.current] >= 0;
}

// The menu's items drawn by the program's menu: the heading in bold, the
// current duration of a recurring alarm with its check.
void MakeSnoozeMenuOwnerDrawn(CCoolMenu& cool, HMENU menu, UINT checkedId)
{
    cool.AttachPlainItems(GetModuleHandleA(nullptr), menu);
    for (int position = 0; position < cool.GetCount(); ++position) {
        const CCoolMenuItem* item = cool.GetItem(position);
        const bool heading = item->id == ID_SNOOZE_HEADING;
        const bool checked = item->id == checkedId;
        if (!heading && !checked)
            continue;
        const std::string text = item->text;
        const UINT id = item->id;
        cool.InitMenuStructures(position, text.c_str(), id, -1, -1, checked ? 1 : 0, kNoRecolour, heading);
    }
}

// Shows the menu, owner-drawn with the item of that id checked (none for 0);
// the chosen item comes back to the owner as its command.
void TrackSnoozeMenu(HWND owner, HMENU menu, UINT checkedId, POINT at)
{
    if (checkedId)
        CheckMenuItem(menu, checkedId, MF_BYCOMMAND | MF_CHECKED);
    CCoolMenu cool;
    MakeSnoozeMenuOwnerDrawn(cool, menu, checkedId);
    SetForegroundWindow(owner);
    CCoolMenu* outer = g_shownMenu;
    g_shownMenu = &cool;
    cool.TrackPopup(TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, owner);
    g_shownMenu = outer;
    cool.Detach();
    PostMessageA(owner, WM_NULL, 0, 0);
}

void ShowSnoozeMenu(HWND window, CNoteController& note)
{
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_SNOOZE_MENU));
    if (!loaded) {
        WriteErrorLog("ShowSnoozeMenu():", "the snooze menu could not be loaded");
        return;
    }
    HMENU menu = GetSubMenu(loaded, 0);
    BuildSnoozeMenu(note, note.m_alarmUnit ? note.m_alarmUnit : kUnitDays, note.m_alarmValue ? note.m_alarmValue : 1,
                    menu);
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackSnoozeMenu(window, menu,
                    note.m_alarmRecurring ? ID_SNOOZE_FIRST + static_cast<UINT>(note.m_snooze.current) : 0, cursor);
    DestroyMenu(loaded);
}

void ChooseSnooze(CNoteController& note, int index)
{
    if (index < 0 || index >= kSnoozeTableSize)
        return;
    const SnoozePair pair = note.m_snooze.pairs[index];
    if (pair.value < 1 || pair.value > 255 || !IsKnownUnit(pair.unit))
        return;
    note.m_snooze.current = index;
    note.m_alarmValue = static_cast<BYTE>(pair.value);
    note.m_alarmUnit = static_cast<BYTE>(pair.unit);
    note.m_alarmRecurring = true;
    note.ComputeNextAlarm();
    note.SetModified();
    if (note.m_ringing && note.IsRecurringAlarmAhead()) {
        StopAllSounds();
        note.StopAlarmAndHide();
    }
}
}

std::string SnoozeItemText(int unit, int value, bool singular)
{
    if (!IsKnownUnit(unit))
        return std::string();
    const CSnoozeChoices& words = SnoozeChoices();
    char text[40];
    if (singular)
        std::snprintf(text, sizeof text, "1 %s", words.singularUnits[unit]);
    else
        std::snprintf(text, sizeof text, "%d %s", value, words.pluralUnits[unit]);
    return text;
}

void CNoteController::SetStandardSnoozeMenu(HMENU menu, int index)
{
    const SnoozeLayout layout = StandardSnoozeLayout(SnoozeMenuKind::kNote, index);
    m_snooze = layout.table;
    WriteItems(layout, 0, 0, menu, ID_SNOOZE_LAST);
}

void SetStandardHideForMenu(SnoozeTable& prompt, HMENU menu, int index)
{
    const SnoozeLayout layout = StandardSnoozeLayout(SnoozeMenuKind::kPrompt, index);
    prompt = layout.table;
    WriteItems(layout, 0, 0, menu, ID_HIDE_FOR_LAST);
}

int BuildSnoozeMenu(CNoteController& note, int unit, int value, HMENU menu)
{
    const SnoozeLayout layout = LayOutSnoozeChoices(SnoozeMenuKind::kNote, unit, value);
    if (!layout.known)
        return 1;
    if (IsStandardLayout(layout)) {
        note.SetStandardSnoozeMenu(menu, layout.table.current);
        return 0;
    }
    note.m_snooze = layout.table;
    return WriteItems(layout, unit, value, menu, ID_SNOOZE_LAST);
}

int BuildHideForMenu(SnoozeTable& prompt, int unit, int value, HMENU menu)
{
    const SnoozeLayout layout = LayOutSnoozeChoices(SnoozeMenuKind::kPrompt, unit, value);
    if (!layout.known)
        return 1;
    if (IsStandardLayout(layout)) {
        SetStandardHideForMenu(prompt, menu, layout.table.current);
        return 0;
    }
    prompt = layout.table;
    return WriteItems(layout, unit, value, menu, ID_HIDE_FOR_LAST);
}

bool ShowHideForMenu(HWND owner, SnoozeTable& prompt, int unit, int value, bool checkCurrent, POINT at)
{
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_HIDE_FOR_MENU));
    if (!loaded)
        return false;
    HMENU menu = GetSubMenu(loaded, 0);
    BuildHideForMenu(prompt, unit ? unit : kUnitDays, value ? value : 1, menu);
    TrackSnoozeMenu(owner, menu, checkCurrent ? ID_SNOOZE_FIRST + static_cast<UINT>(prompt.current) : 0, at);
    DestroyMenu(loaded);
    return true;
}

bool OnNoteAlarmCommand(HWND window, CNoteController& note, UINT id)
{
    if (id == ID_SNOOZE_HEADING) {
        ShowSnoozeMenu(window, note);
    } else if (id >= ID_SNOOZE_FIRST && id <= ID_SNOOZE_LAST) {
        ChooseSnooze(note, static_cast<int>(id - ID_SNOOZE_FIRST));
    } else if (id == ID_SNOOZE_EDIT_ALARM) {
        StopAllSounds();
        note.ShowProperties(1, false, false, nullptr);
    } else if (id == ID_SNOOZE_ALARM_OFF) {
        note.SwitchAlarmOff();
    } else {
        return false;
    }
    return true;
}

bool OnSnoozeMenuItemMessage(UINT message, LPARAM lParam)
{
    if (!g_shownMenu)
        return false;
    if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU)
            return false;
        g_shownMenu->MeasureItem(measure);
        return true;
    }
    auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (message != WM_DRAWITEM || draw->CtlType != ODT_MENU)
        return false;
    g_shownMenu->DrawItem(draw);
    return true;
}
