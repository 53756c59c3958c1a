// Showing, hiding, bringing forward and undeleting the user's notes as a
// group, and the small walks that find notes by their state.
#include <winsock2.h>

#include <cstdio>

#include "foundation/bytes/MessageBoxes.h"
#include "net/ChatNotes.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/NotesAction.h"
#include "noteprops/AppAssociations.h"
#include "note/ProtectedNotes.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteLists.h"
#include "globals/ProgramGlobals.h"
#include "shell/WindowController.h"

namespace {
const int kAskAboveNotes = 30;

void MakeTopmostOnce(CNoteController& note)
{
    SetWindowPos(note.m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    note.m_raised = true;
    SendMessageA(note.m_window, WM_NCPAINT, 1, 0);
}

void Restore(CNoteController& note, int showCommand = SW_RESTORE)
{
    note.m_hidden = false;
    note.m_parked = false;
    ShowWindow(note.m_window, showCommand);
    note.UpdateScrollArrows(true);
    note.ForceRepaintBySize();
}

// The protected-note prompt flag, set while a note's password may be asked.
struct PromptFlagHeld {
    PromptFlagHeld() { GetProgramFlags().protectedNotePrompt = true; }
    ~PromptFlagHeld() { GetProgramFlags().protectedNotePrompt = false; }
    PromptFlagHeld(const PromptFlagHeld&) = delete;
    PromptFlagHeld& operator=(const PromptFlagHeld&) = delete;
};

template <class Condition>
bool AnyNote(const CPtrList& list, Condition condition)
{
    bool found = false;
    ForEachNote(list, [&](CNoteController* note) {
        found = condition(*note);
        return !found;
    });
    return found;
}
}

int CWindowController::OpenLockedNote(CNoteController& note)
{
    int result = kProtectedNoteNotLocked;
    {
        PromptFlagHeld held;
        result = OpenProtectedNote(*this, note);
    }
    if (result == kProtectedNoteOpened)
        note.RelayoutRichEdits();
    return result;
}

int CWindowController::AskLockedNotePassword(CNoteController& note, int relayout, int searching)
{
    PromptFlagHeld held;
    return AskProtectedNotePassword(*this, relayout, note, searching);
}

bool CWindowController::HasParkedNote() const
{
    return AnyNote(m_ourNotes, [](const CNoteController& n) { return n.m_parked; });
}

bool CWindowController::HasHiddenAlarmedNote() const
{
    return AnyNote(m_ourNotes, [](const CNoteController& n) { return n.m_hidden && n.m_alarmSet; });
}

bool CWindowController::HasShownAlarmedNote() const
{
    return AnyNote(m_ourNotes, [](const CNoteController& n) { return !n.m_hidden && n.m_alarmSet; });
}

CNoteController* CWindowController::FindPendingReceivedNote()
{
    CNoteController* found = nullptr;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (note->m_programActivation)
            found = note;
        return found == nullptr;
    });
    return found;
}

int CWindowController::BringNotesToFront(bool onlyAlarmed, bool byAssociation, const char* title)
{
    if (HasParkedNote()) {
        if (!byAssociation)
            MessageBeep(0);
        return 0;
    }
    int brought = 0;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (!note->m_window || note->m_hidden || (onlyAlarmed && (!note->m_alarmSet || byAssociation)))
            return true;
        if (byAssociation) {
            // Once per appearance of the window, and without taking the
            // focus from the program the user is working in for long.
            if (!SetAssociationShown(*note, title, false))
                return true;
            note->m_programActivation = true;
            SetFocus(note->m_window);
            note->m_programActivation = false;
        } else {
            BringWindowToTop(note->m_window);
            SetFocus(note->m_window);
            SetForegroundWindow(note->m_window);
        }
        if (title && lstrlenA(title) > 1)
            MakeTopmostOnce(*note);
        ++brought;
        return true;
    });
    return brought ? 1 : 0;
}

int CWindowController::ShowNotesMatching(bool onlyAlarmed, bool, bool byAssociation, const char* title)
{
    int shown = 0;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (!note->m_window)
            return true;
        bool show = onlyAlarmed ? (note->m_hidden && note->m_alarmSet) : (note->m_hidden || note->m_parked);
        if (show && byAssociation)
            show = SetAssociationShown(*note, title, false) != 0;
        if (!show)
            return true;
        if (byAssociation) {
            // A note that follows another program's window never takes its focus.
            note->m_programActivation = true;
            Restore(*note, SW_SHOWNOACTIVATE);
            note->m_programActivation = false;
        } else {
            Restore(*note);
            BringWindowToTop(note->m_window);
            SetFocus(note->m_window);
            SetForegroundWindow(note->m_window);
        }
        // A restore let in by the password prompt closes every note: the
        // walk stops there.
        if (OpenLockedNote(*note) == kProtectedNoteGone)
            return false;
        if (title && lstrlenA(title) > 1)
            MakeTopmostOnce(*note);
        ++shown;
        return true;
    });
    return shown ? 1 : 0;
}

// The notes that follow other programs' windows: the shown ones come forward,
// the hidden ones are shown.
void CWindowController::ShowAssociatedNotes()
{
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (!note->m_window || !SetAssociationShown(*note, nullptr, false))
            return true;
        if (note->m_hidden) {
            ShowNote(note, true);
        } else {
            BringWindowToTop(note->m_window);
            SetFocus(note->m_window);
            SetForegroundWindow(note->m_window);
        }
        return true;
    });
    UpdateTrayTooltip();
}

void CWindowController::ShowAllNotes()
{
    if (HasParkedNote()) {
        MessageBeep(0);
        return;
    }
    const int count = static_cast<int>(m_ourNotes.GetCount());
    if (count >= kAskAboveNotes) {
        char question[120];
        std::snprintf(question, sizeof question, "Are you sure you want to make all your %d notes visible ?", count);
        if (AskYesNo(m_mainWindow, question, ProgramTitle) != IDYES)
            return;
    }
    BringNotesToFront(false, false, nullptr);
    ShowNotesMatching(false, false, false, nullptr);
    UpdateTrayTooltip();
}

void CWindowController::ShowAlarmedNotes()
{
    BringNotesToFront(true, false, nullptr);
    ShowNotesMatching(true, false, false, nullptr);
    UpdateTrayTooltip();
}

void CWindowController::HideAllNotes()
{
    if (HasParkedNote()) {
        MessageBeep(0);
        return;
    }
    // Each changed note is saved as it hides: a held file costs its tries once.
    CNotesAction oneAction;
    ForEachNote(m_ourNotes, [](CNoteController* note) {
        if (!note->m_hidden)
            note->HideNote();
        return true;
    });
}

void CWindowController::HideAlarmedNotes()
{
    ForEachNote(m_ourNotes, [](CNoteController* note) {
        if (note->m_hidden || !note->m_alarmSet)
            return true;
        note->m_hidden = true;
        if (note->m_window)
            ShowWindow(note->m_window, SW_HIDE);
        return true;
    });
    UpdateTrayTooltip();
}

void CWindowController::ShowLastNote(CNoteController* note)
{
    if (m_ourNotes.IsEmpty())
        return;
    CNoteController* target = note ? note : LastNote() ? LastNote() : FirstNote(m_ourNotes);
    if (!target || !target->m_window)
        return;
    if (target->m_hidden || target->m_parked) {
        Restore(*target);
        UpdateWindow(target->m_window);
    }
    if (target->m_programActivation) {
        target->m_programActivation = false;
        PostMessageA(m_mainWindow, kMsgReceivedNoteRead, 0, 0);
    }
    SetFocus(target->m_window);
    SetForegroundWindow(target->m_window);
    // A note that stays locked is left as it is.
    const int opened = OpenLockedNote(*target);
    if (opened != kProtectedNoteStaysLocked && opened != kProtectedNoteGone && !target->m_raised)
        MakeTopmostOnce(*target);
    UpdateTrayTooltip();
}

void CWindowController::ShowNote(CNoteController* note, bool activate)
{
    if (!note || !note->m_window)
        return;
    note->m_hidden = false;
    note->SetModified();
    if (note->m_programActivation) {
        note->m_programActivation = false;
        PostMessageA(m_mainWindow, kMsgReceivedNoteRead, 0, 0);
    }
    UpdateTrayTooltip();
    note->UpdateScrollArrows(true);
    if (!activate) {
        note->m_showing = true;
        ShowWindow(note->m_window, SW_SHOWNOACTIVATE);
        MakeTopmostOnce(*note);
        note->m_showing = false;
        note->ForceRepaintBySize();
        return;
    }
    ShowWindow(note->m_window, SW_RESTORE);
    note->ForceRepaintBySize();
    SetFocus(note->m_window);
    SetForegroundWindow(note->m_window);
    OpenLockedNote(*note);
}

void CWindowController::ShowNthHiddenNote(int n)
{
    int counted = 0;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (!note->m_hidden)
            return true;
        if (counted++ < n)
            return true;
        ShowNote(note, true);
        return false;
    });
}

void CWindowController::RaiseDueNotes()
{
    // A ringing note's beeps handle waiting messages, the next tick among
    // them: a scan that comes inside a scan is left out.
    static bool scanning = false;
    if (scanning)
        return;
    scanning = true;
    try {
        ForEachNote(m_ourNotes, [&](CNoteController* note) {
            if (!note->m_window || !AskNoteAlarmDue(note->m_window))
                return true;
            UpdateTrayTooltip();
            return OpenLockedNote(*note) != kProtectedNoteGone;
        });
    } catch (...) {
        scanning = false;
        throw;
    }
    scanning = false;
}

void CWindowController::HideNotesAssociatedWithWindow(const char* title)
{
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (!note->m_hidden && SetAssociationShown(*note, title, true))
            note->HideNote();
        return true;
    });
}

void CWindowController::HideNoteById(DWORD id)
{
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (note->m_noteId != id || note->m_hidden)
            return true;
        note->HideNote();
        return false;
    });
}

void CWindowController::UndeleteAllNotes()
{
    CPtrList& deleted = DeletedNotesList();
    ForEachNote(deleted, [&](CNoteController* note) {
        note->m_noteId = 9999;
        note->m_modified = true;
        m_ourNotes.InsertSortedByDate(note);
        if (note->m_window)
            Restore(*note);
        OnChatNoteUndeleted(*note);
        return true;
    });
    deleted.RemoveAll();
    UpdateTrayTooltip();
}

void CWindowController::UndeleteNote(int index, CNoteController* given)
{
    CPtrList& deleted = DeletedNotesList();
    CNoteController* note = given;
    if (!note) {
        note = FirstNote(deleted);
        for (int i = 0; note && i < index; ++i)
            note = NextNote(deleted, note);
    }
    if (!note || !deleted.Contains(note))
        return;
    note->m_noteId = 9999;
    note->SetModified();
    m_ourNotes.InsertSortedByDate(note);
    deleted.DeleteElem(note);
    if (note->m_window) {
        if (given) {
            note->m_hidden = false;
            note->m_raised = true;
            note->m_showing = true;
            ShowWindow(note->m_window, SW_SHOWNOACTIVATE);
            SetWindowPos(note->m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
            note->m_showing = false;
        } else {
            Restore(*note);
        }
        note->UpdateScrollArrows(true);
        note->ForceRepaintBySize();
    }
    OnChatNoteUndeleted(*note);
    UpdateTrayTooltip();
}
