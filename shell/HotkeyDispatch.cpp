// What each system-wide hotkey does when the user presses it (WM_HOTKEY).
#include <winsock2.h>

#include <vector>

#include "foundation/bytes/MessageBoxes.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/NotesAction.h"
#include "shell/Hotkeys.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteLists.h"
#include "globals/ProgramGlobals.h"
#include "shell/WindowController.h"

namespace {
enum GroupHotkeyMode { kGroupCount, kGroupHide, kGroupShow };

struct GroupCounters {
    int total = 0;
    int hidden = 0;
    int shown = 0;
    int parked = 0;
};

const CNoteGroup* EnabledGroup(DWORD number)
{
    for (auto* node = GroupsList().GetFirst(); node; node = node->next) {
        if (node->record.id == number && node->record.hotkey_ifAllow)
            return &node->record;
    }
    return nullptr;
}

bool GroupHasCombination(DWORD groupId, const CNoteGroup& keys)
{
    const CNoteGroup* group = EnabledGroup(groupId);
    return group && group->hotkey_ctrl == keys.hotkey_ctrl && group->hotkey_alt == keys.hotkey_alt &&
           group->hotkey_shift == keys.hotkey_shift && group->hotkey_key == keys.hotkey_key;
}

CNoteController* OwnNoteById(CWindowController& controller, DWORD noteId)
{
    CNoteController* found = nullptr;
    ForEachNote(controller.OwnNotes(), [&](CNoteController* note) {
        if (note->m_noteId == noteId)
            found = note;
        return found == nullptr;
    });
    return found;
}

void ApplyToNote(CWindowController& controller, GroupHotkeyMode mode, CNoteController& note, GroupCounters& counters)
{
    // Hidden as its Hide command hides it: a parked note shown by the group
    // would otherwise count as parked from then on, and the group's next
    // press could never hide it.
    if (mode == kGroupHide) {
        if (!note.m_hidden)
            note.HideNote();
    } else if (mode == kGroupShow) {
        controller.ShowNote(&note, false);
    } else if (note.m_parked) {
        ++counters.parked;
    } else if (note.m_hidden) {
        ++counters.hidden;
    } else {
        ++counters.shown;
    }
}

// Every membership of a group that shares the pressed combination: counted,
// hidden or shown. A note put in a group before it was ever stored has no
// membership yet: the group waits on the note, which counts all the same.
void ApplyGroupHotkey(CWindowController& controller, GroupHotkeyMode mode, const CNoteGroup& keys,
                      GroupCounters& counters)
{
    std::vector<CNoteController*> members;
    for (auto* node = GroupsAndNotesList().GetFirst(); node; node = node->next) {
        if (!GroupHasCombination(node->record.groupID, keys))
            continue;
        ++counters.total;
        if (CNoteController* note = OwnNoteById(controller, node->record.noteID))
            members.push_back(note);
    }
    ForEachNote(controller.OwnNotes(), [&](CNoteController* note) {
        if (note->m_waitingGroup >= 0 && GroupHasCombination(static_cast<DWORD>(note->m_waitingGroup), keys)) {
            ++counters.total;
            members.push_back(note);
        }
        return true;
    });
    for (CNoteController* note : members)
        ApplyToNote(controller, mode, *note, counters);
}

// The foreground window is a shown note of the group.
bool ForegroundIsShownNoteOfGroup(CWindowController& controller, DWORD group)
{
    HWND foreground = GetForegroundWindow();
    bool found = false;
    ForEachNote(controller.OwnNotes(), [&](CNoteController* note) {
        if (note->m_window == foreground && !note->m_hidden && !note->m_parked) {
            found = note->m_waitingGroup == static_cast<int>(group);
            for (auto* node = GroupsAndNotesList().GetFirst(); node && !found; node = node->next)
                found = node->record.groupID == group && node->record.noteID == note->m_noteId;
        }
        return !found;
    });
    return found;
}

void OnGroupHotkey(CWindowController& controller, DWORD group)
{
    const CNoteGroup* keys = EnabledGroup(group);
    if (!keys)
        return;
    const CNoteGroup combination = *keys;
    GroupCounters counters;
    // The notes a press hides are saved as they hide: a held file costs its tries once.
    CNotesAction onePress;
    if (ForegroundIsShownNoteOfGroup(controller, group)) {
        ApplyGroupHotkey(controller, kGroupHide, combination, counters);
        return;
    }
    ApplyGroupHotkey(controller, kGroupCount, combination, counters);
    const int shown = counters.shown;
    const int away = counters.hidden + counters.parked;
    if (shown + away == 0)
        return;
    // Nothing shown: show them; nothing away: hide them; else the larger side wins, a tie shows.
    const bool show = shown == 0 || (away != 0 && shown >= away);
    ApplyGroupHotkey(controller, show ? kGroupShow : kGroupHide, combination, counters);
    controller.UpdateTrayTooltip();
}

// The main window in front, so that what it opens gets the focus.
void FocusMainWindow(HWND main)
{
    SetFocus(main);
    SetForegroundWindow(main);
}

}

CNoteController* CWindowController::CreateHotkeyNote()
{
    if (!ConfigSettings().notesNearMouse)
        return CreateDefaultNote();
    POINT cursor{};
    GetCursorPos(&cursor);
    return CreateNoteWithText(false, cursor.x, cursor.y, "", 0);
}

void CWindowController::OnHotKey(WPARAM id)
{
    ProgramFlags& flags = GetProgramFlags();
    switch (id) {
    case kHotkeyNewNote:
        if (ConfigSettings().notesNearMouse)
            CreateHotkeyNote();
        else
            SendMessageA(m_mainWindow, WM_COMMAND, kCmdNewNote, 0);
        return;
    case kHotkeyShowAll:
        ShowAllNotes();
        return;
    case kHotkeyHideAll:
        flags.bulkOperation = true;
        HideAllNotes();
        flags.bulkOperation = false;
        UpdateTrayTooltip();
        return;
    case kHotkeyShowLast:
        ShowLastNote(nullptr);
        UpdateTrayTooltip();
        return;
    case kHotkeyNewClipboardNote: {
        if (!ClipboardHasNoteContent()) {
            MessageBeep(0);
            return;
        }
        CreateHotkeyNote();
        CNoteController* first = FirstNote(m_ourNotes);
        if (first && first->m_window)
            SendMessageA(first->m_window, WM_COMMAND, kNoteCmdPaste, 0);
        else
            ShowMessageBox(GetForegroundWindow(), "No last created note to paste into?", "Quillnet+", kMbOk);
        return;
    }
    case kHotkeyShowDesktop:
        BringNotesToFront(false, false, nullptr);
        return;
    case kHotkeyParkDesktop:
        ToggleParkAll();
        UpdateTrayTooltip();
        return;
    case kHotkeyFindText:
        if (HWND find = FindWindowA(nullptr, "Find in notes....")) {
            SetForegroundWindow(find);
            SetFocus(find);
        } else {
            FocusMainWindow(m_mainWindow);
            SendMessageA(m_mainWindow, WM_COMMAND, kCmdFindNote, 0);
        }
        return;
    case kHotkeyNewAlarmNote:
        NewNoteWithAlarm(false, nullptr);
        return;
    case kHotkeyNoteManager:
        ShowNoteManagerCommand();
        return;
    case kHotkeyFavourites: {
        CNoteController* first = FirstNote(m_ourNotes);
        if (!first || !first->m_window)
            return;
        FocusMainWindow(m_mainWindow);
        SendMessageA(first->m_window, WM_COMMAND, kNoteCmdFavourites, 0);
        return;
    }
    case kHotkeyCalendar:
        ShowCalendarCommand();
        return;
    default:
        if (id >= kHotkeyFirstStyle && id <= kHotkeyLastStyle)
            CreateNoteInStyle(static_cast<int>(id - kHotkeyFirstStyle));
        else if (id >= kHotkeyFirstGroup && id <= kHotkeyLastGroup)
            OnGroupHotkey(*this, static_cast<DWORD>(id - kHotkeyFirstGroup));
        return;
    }
}
