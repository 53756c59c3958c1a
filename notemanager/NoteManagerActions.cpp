#include "notemanager/NoteManagerController.h"

#include <vector>

#include "foundation/bytes/MessageBoxes.h"
#include "globals/MainWindowMessages.h"
#include "globals/NotesGeneration.h"
#include "globals/ProgramGlobals.h"
#include "net/SendDialog.h"
#include "note/NoteController.h"
#include "note/NotesAction.h"
#include "note/NoteKeeper.h"
#include "note/NoteMessages.h"
#include "note/ProtectedNotes.h"
#include "notemanager/NoteManagerNotes.h"
#include "noteprops/AppAssociationsFile.h"
#include "noteprops/AppAssociations.h"
#include "resources/ids/NoteManagerIds.h"
#include "store/FileStepRetries.h"

// The commands on the selected notes. Each takes the selected notes when it
// starts. After each box, dialog, password prompt or send's wait it asks
// whether to go on: a restore, its undo or a reload meanwhile has closed the
// notes it took (and made others, perhaps at their very addresses), so it
// stops; a note closed meanwhile is skipped.

namespace {
const DWORD kSendWaitMs = 120000;

void ShowWithoutActivating(CNoteController& note)
{
    if (!note.m_window)
        return;
    ShowWindow(note.m_window, SW_SHOWNOACTIVATE);
    SetWindowPos(note.m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT AskMainWindow(UINT message, WPARAM wParam, CNoteController& note)
{
    return SendMessageA(GetMainWindow(), message, wParam, reinterpret_cast<LPARAM>(&note));
}

void UpdateTrayTooltip()
{
    SendMessageA(GetMainWindow(), kMsgUpdateTrayTooltip, 0, 0);
}

bool Ask(HWND owner, const char* question)
{
    return ShowMessageBox(owner, question, ProgramTitle, kMbYesNo | kMbIconQuestion) == kIdYes;
}

const char kNotesChanged[] = "The notes changed meanwhile; nothing more was done.";
}

// The note is still one of the program's notes.
bool CNoteManagerController::IsLive(CNoteController* note) const
{
    INoteKeeper* keeper = GetNoteKeeper();
    return note && keeper && (keeper->OwnNotes().Contains(note) || DeletedNotesList().Contains(note));
}

bool CNoteManagerController::IsLive(const ChosenNote& chosen) const
{
    return IsLiveNote(chosen.note, chosen.window);
}

bool CNoteManagerController::GoesOn(ChosenNotes& chosen)
{
    if (chosen.stopped)
        return false;
    if (m_destroyed) {
        chosen.stopped = true;
        return false;
    }
    if (chosen.generation == NotesGeneration())
        return true;
    chosen.stopped = true;
    // A window that a restore has closed no longer owns anything.
    ShowWarningMessage(m_closing ? GetMainWindow() : m_dialog, kNotesChanged, ProgramTitle);
    return false;
}

void CNoteManagerController::RedrawRow(CNoteController* note)
{
    const int row = RowOf(note);
    if (row >= 0)
        ListView_Update(m_list, row);
}

// A closed protected note comes up and asks for its password; true when the
// user declined.
bool CNoteManagerController::OpenClosedProtected(CNoteController& note)
{
    note.m_hidden = false;
    note.m_parked = false;
    note.m_temporarilyOnTop = true;
    ShowWithoutActivating(note);
    return AskMainWindow(kMsgOpenProtectedNote, 0, note) == 1;
}

// The same for a note of a command, which then goes on with it unless the
// user declined, the note went meanwhile, or the command was stopped.
bool CNoteManagerController::OpenChosenProtected(ChosenNotes& chosen, const ChosenNote& each)
{
    const bool declined = OpenClosedProtected(*each.note);
    return GoesOn(chosen) && !declined && IsLive(each);
}

void CNoteManagerController::SelectAll()
{
    SetFocus(m_list);
    ListView_SetItemState(m_list, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void CNoteManagerController::ShowSelectedNotes()
{
    if (IsDeletedView()) {
        MessageBeep(0);
        return;
    }
    const bool searching = NoteManagerOptions().containingText[0] != '\0';
    ChosenNotes chosen = TakeSelection();
    for (const ChosenNote& each : chosen.notes) {
        if (!IsLive(each))
            continue;
        CNoteController* note = each.note;
        note->m_hidden = false;
        note->m_parked = false;
        note->m_temporarilyOnTop = true;
        if (note->m_trackedByMainWindow) {
            note->m_trackedByMainWindow = false;
            SendMessageA(GetMainWindow(), kMsgReceivedNoteRead, 0, 0);
        }
        note->UpdateScrollArrows(false);
        ShowWithoutActivating(*note);
        if (note->m_window)
            InvalidateRect(note->m_window, nullptr, TRUE);
        const LRESULT answer = AskMainWindow(kMsgOpenProtectedNote, 1, *note);
        if (!GoesOn(chosen))
            return;
        if (!IsLive(each))
            continue;
        if ((answer == 0 || answer == 2) && searching && note->m_textMatch > 0)
            SelectAndShowText(*note, note->m_textMatch, lstrlenA(NoteManagerOptions().containingText));
        if (note->m_window)
            SetWindowPos(note->m_window, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        RedrawRow(note);
    }
    UpdateTrayTooltip();
    SetFocus(m_list);
    UpdateStatus();
}

void CNoteManagerController::HideSelectedNotes()
{
    if (IsDeletedView()) {
        MessageBeep(0);
        return;
    }
    // Each changed note is saved as it hides; a held file costs its tries once.
    CNotesAction oneAction;
    for (const ChosenNote& each : TakeSelection().notes) {
        if (!IsLive(each))
            continue;
        CNoteController* note = each.note;
        note->m_parked = false;
        if (!note->m_hidden)
            note->HideNote();
        RedrawRow(note);
    }
    UpdateTrayTooltip();
    UpdateStatus();
}

void CNoteManagerController::LockSelectedNotes()
{
    ChosenNotes chosen = TakeSelection();
    size_t locked = 0;
    for (const ChosenNote& each : chosen.notes)
        locked += IsNoteLocked(*each.note) ? 1 : 0;
    if (IsDeletedView() || chosen.notes.empty() || (locked && locked != chosen.notes.size())) {
        MessageBeep(0);
        return;
    }
    const bool unlocking = locked == chosen.notes.size();
    // The notes locked are saved together once they all are, with one box
    // when that fails.
    CHeldFilesMetOnce oneAction(HeldFileWork::kAction);
    CLocksSavedTogether locks;
    const bool done = ToggleLocks(chosen, unlocking);
    // Notes that a restore or a reload replaced meanwhile are no longer there to save.
    if (chosen.generation == NotesGeneration())
        locks.Save(GetNoteKeeper(), m_destroyed ? GetMainWindow() : m_dialog);
    if (done)
        UpdateStatus();
}

// The lock command may ask for a password, as opening a closed note does;
// false when the command stopped.
bool CNoteManagerController::ToggleLocks(ChosenNotes& chosen, bool unlocking)
{
    for (const ChosenNote& each : chosen.notes) {
        if (!IsLive(each) || !each.window)
            continue;
        CNoteController* note = each.note;
        if (!unlocking || !IsClosedProtected(*note)) {
            const bool wasHidden = note->m_hidden;
            SendMessageA(each.window, WM_COMMAND, kNoteCmdToggleLock, 0);
            if (!GoesOn(chosen))
                return false;
            if (!IsLive(each))
                continue;
            if (!unlocking && wasHidden)
                note->LockProtectedNote();
        } else {
            const bool declined = OpenClosedProtected(*note);
            if (!GoesOn(chosen))
                return false;
            if (!IsLive(each))
                continue;
            if (!declined) {
                SendMessageA(each.window, WM_COMMAND, kNoteCmdToggleLock, 0);
                if (!GoesOn(chosen))
                    return false;
            }
        }
        RedrawRow(note);
    }
    return true;
}

void CNoteManagerController::PrintSelectedNotes()
{
    CSelectionStats stats;
    CollectSelectionStats(stats);
    if (stats.selected == 0 || stats.textLength == 0) {
        MessageBeep(0);
        return;
    }
    bool first = true;
    ChosenNotes chosen = TakeSelection();
    for (const ChosenNote& each : chosen.notes) {
        if (!IsLive(each) || !each.window)
            continue;
        CNoteController* note = each.note;
        const bool closed = IsClosedProtected(*note);
        if (closed && !OpenChosenProtected(chosen, each)) {
            if (chosen.stopped)
                return;
            continue;
        }
        const LRESULT printed = PrintNoteWindow(each.window, first);
        first = false;
        if (!GoesOn(chosen))
            return;
        if (closed && IsLive(each))
            note->HideNote();
        if (!printed)
            break;
    }
    SetFocus(m_list);
}

void CNoteManagerController::DeleteSelectedNotes(bool confirmOne)
{
    ChosenNotes chosen = TakeSelection();
    const std::vector<ChosenNote>& notes = chosen.notes;
    bool locked = false;
    for (const ChosenNote& each : notes)
        locked = locked || IsNoteLocked(*each.note);
    if (notes.empty() || locked) {
        MessageBeep(0);
        return;
    }
    const char* question = notes.size() >= 2 ? "Are you sure you want to delete all the selected notes?\r\n\r\n"
                           : confirmOne      ? "Are you sure you want to delete the selected note?\r\n\r\n"
                                             : nullptr;
    if (question && (!Ask(m_dialog, question) || !GoesOn(chosen)))
        return;
    // A note may ask its own question before it goes.
    for (auto it = notes.rbegin(); it != notes.rend(); ++it) {
        if (!GoesOn(chosen))
            return;
        if (IsLive(*it))
            it->note->DeleteNote();
    }
    if (GoesOn(chosen))
        DescribeCurrentSelection(-1);
}

void CNoteManagerController::UndeleteSelectedNotes()
{
    ChosenNotes chosen = TakeSelection();
    const std::vector<ChosenNote>& notes = chosen.notes;
    if (notes.empty())
        return;
    if (notes.size() >= 2 &&
        (!Ask(m_dialog, "Are you sure you want to undelete all the selected notes?\r\n\r\n") || !GoesOn(chosen)))
        return;
    for (auto it = notes.rbegin(); it != notes.rend(); ++it) {
        if (!IsLive(*it))
            continue;
        AskMainWindow(kMsgUndeleteNote, 0, *it->note);
        if (!GoesOn(chosen))
            return;
        const int row = RowOf(it->note);
        if (row >= 0)
            ListView_DeleteItem(m_list, row);
    }
    DescribeCurrentSelection(-1);
}

void CNoteManagerController::DuplicateSelectedNotes()
{
    ChosenNotes chosen = TakeSelection();
    if (chosen.notes.empty()) {
        MessageBeep(0);
        return;
    }
    // Making the copy may tell the user why it could not be made. Each copy
    // is stored at once: a held file costs its tries once, and the copies
    // not stored go into the rescue backup as the command ends.
    CNotesAction oneAction;
    for (const ChosenNote& each : chosen.notes) {
        if (!IsLive(each))
            continue;
        CNoteController* note = each.note;
        const bool closed = IsClosedProtected(*note);
        if (closed && !OpenChosenProtected(chosen, each)) {
            if (chosen.stopped)
                return;
            continue;
        }
        AskMainWindow(kMsgDuplicateNote, 0, *note);
        if (!GoesOn(chosen))
            return;
        if (closed && IsLive(each))
            note->HideNote();
    }
    OnColumnClick(NoteManagerOptions().sortColumn, true);
    UpdateTrayTooltip();
    SetFocus(m_list);
}

// While a note is being sent the window answers the user with a beep; the
// wait is bounded so that a send that never ends cannot hold the window.
// False when the program is ending: its quit message is left for its own
// loop.
bool CNoteManagerController::WaitWhileSending(const ChosenNotes& chosen, const ChosenNote& sending)
{
    m_busySending = true;
    bool quitting = false;
    const DWORD start = GetTickCount();
    while (!quitting && !m_destroyed && chosen.generation == NotesGeneration() && IsLive(sending) &&
           SendMessageA(sending.window, kMsgNoteIsTransmitting, 0, 0) && GetTickCount() - start < kSendWaitMs) {
        MSG message;
        while (!quitting && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                quitting = true;
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!quitting)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    m_busySending = false;
    return !quitting;
}

void CNoteManagerController::SendSelectedNotes()
{
    ChosenNotes chosen = TakeSelection();
    if (chosen.notes.empty()) {
        MessageBeep(0);
        return;
    }
    std::vector<CDestination> destinations;
    bool first = true;
    for (const ChosenNote& each : chosen.notes) {
        if (!IsLive(each))
            continue;
        CNoteController* note = each.note;
        const bool closed = IsClosedProtected(*note);
        if (closed && !OpenChosenProtected(chosen, each)) {
            if (chosen.stopped)
                return;
            continue;
        }
        const int sent = SendNoteTo(*note, first, destinations);
        first = false;
        if (!GoesOn(chosen))
            return;
        if (!IsLive(each))
            continue;
        if (!WaitWhileSending(chosen, each) || !GoesOn(chosen))
            return;
        if (!IsLive(each))
            continue;
        if (closed && note->m_sendState == 1)
            note->HideNote();
        RedrawRow(note);
        if (!sent)
            break;
    }
    SetFocus(m_list);
}

void CNoteManagerController::ToggleStayOnTop(bool rollUp)
{
    const std::vector<ChosenNote> notes = TakeSelection().notes;
    size_t onTop = 0;
    for (const ChosenNote& each : notes)
        onTop += each.note->m_stayOnTop ? 1 : 0;
    if (IsDeletedView() || notes.empty() || (onTop && onTop != notes.size())) {
        MessageBeep(0);
        return;
    }
    for (const ChosenNote& each : notes) {
        if (!IsLive(each))
            continue;
        CNoteController* note = each.note;
        if (rollUp) {
            if (note->m_stayOnTop) {
                if (!note->m_rolledUp)
                    note->RollUp();
                note->m_rollUpOnLeave = true;
            } else {
                note->Unroll();
                note->m_rollUpOnLeave = false;
            }
            SetFocus(m_list);
        }
        note->ToggleStayOnTop();
        RedrawRow(note);
    }
}

void CNoteManagerController::AssociateSelectedNotes()
{
    CSelectionStats stats;
    CollectSelectionStats(stats);
    if (stats.selected == 0 || (stats.associated && stats.associated != stats.selected) || !stats.sameAssociations) {
        MessageBeep(0);
        return;
    }
    ChosenNotes chosen = TakeSelection();
    const std::vector<ChosenNote>& notes = chosen.notes;
    // A note never saved is stored before it is associated: a held file
    // costs its tries once, and a note not stored goes into the rescue
    // backup as the command ends.
    CNotesAction oneAction;
    CNoteController* first = notes.front().note;
    const bool firstStored = first->StoredForAssociation(notes.size() > 1);
    if (!GoesOn(chosen) || !firstStored || !IsLive(notes.front()))
        return;
    const int associated = first->AssociateWith(1, 1);
    if (!GoesOn(chosen) || !associated || !IsLive(notes.front()))
        return;
    CRecordList<CAppAssociation> resultList;
    GetNoteAppAssociations(first->m_noteId, resultList);
    // Applying an association may tell the user why it failed.
    for (size_t i = 1; i < notes.size(); ++i) {
        if (!GoesOn(chosen))
            return;
        if (!IsLive(notes[i]))
            continue;
        CNoteController* note = notes[i].note;
        RemoveNoteAssociations(AppAssociationsList(), note->m_noteId);
        const bool stored = note->StoredForAssociation(i + 1 < notes.size());
        if (!GoesOn(chosen))
            return;
        if (!IsLive(notes[i]))
            continue;
        // No association names a note that has no record.
        if (!stored)
            break;
        for (auto* node = resultList.GetFirst(); node; node = node->next) {
            CAppAssociation copy = node->record;
            copy.id = static_cast<DWORD>(AppAssociationsList().NextFreeId());
            copy.noteId = note->m_noteId;
            copy.shown = 0;
            AppAssociationsList().AddToTail(copy);
        }
        if (!note->AssociateWith(1, 0))
            break;
        RedrawRow(note);
    }
    if (GoesOn(chosen))
        UpdateStatus();
}

void CNoteManagerController::OpenNoteSettings()
{
    ChosenNotes chosen = TakeSelection();
    if (chosen.notes.size() != 1) {
        MessageBeep(0);
        return;
    }
    CNoteController* note = chosen.notes.front().note;
    const int changed = note->ShowProperties(0, false, true, nullptr);
    if (!GoesOn(chosen))
        return;
    SetFocus(m_dialog);
    if (changed && IsLive(chosen.notes.front())) {
        RedrawRow(note);
        DescribeSelectedNote(*note);
    }
}

bool CNoteManagerController::OnSelectionCommand(UINT id)
{
    if (id >= ID_NM_FIRST_GROUP && id <= ID_NM_LAST_GROUP) {
        AssignSelectedToGroup(static_cast<int>(id - ID_NM_FIRST_GROUP));
        return true;
    }
    switch (id) {
    case IDC_NM_SELECT_ALL:
        SelectAll();
        return true;
    case IDC_NM_SHOW:
    case ID_NM_SHOW_NOTES:
        ShowSelectedNotes();
        return true;
    case IDC_NM_HIDE:
    case ID_NM_HIDE_NOTES:
        HideSelectedNotes();
        return true;
    case ID_NM_LOCK:
        LockSelectedNotes();
        return true;
    case ID_NM_PRINT:
        PrintSelectedNotes();
        return true;
    case ID_NM_DELETE:
        DeleteSelectedNotes(false);
        return true;
    case ID_NM_UNDELETE:
        UndeleteSelectedNotes();
        return true;
    case ID_NM_DUPLICATE:
        DuplicateSelectedNotes();
        return true;
    case ID_NM_SEND:
        SendSelectedNotes();
        return true;
    case ID_NM_STAY_ON_TOP:
        ToggleStayOnTop(false);
        return true;
    case ID_NM_ASSOCIATE:
        AssociateSelectedNotes();
        return true;
    case ID_NM_NOTE_SETTINGS:
        OpenNoteSettings();
        return true;
    default:
        return OnColumnCommand(id) || OnComboMenuCommand(id);
    }
}
