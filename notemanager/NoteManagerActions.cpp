#include "notemanager/NoteManagerController.h"

#include <vector>

#include "foundation/bytes/MessageBoxes.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "net/SendDialog.h"
#include "note/NoteController.h"
#include "note/NoteKeeper.h"
#include "note/NoteMessages.h"
#include "notemanager/NoteManagerNotes.h"
#include "noteprops/AppAssociationsFile.h"
#include "noteprops/AppAssociations.h"
#include "resources/ids/NoteManagerIds.h"

// The commands on the selected notes. Each takes the selected notes when it
// starts and skips a note that has gone meanwhile (a send pumps messages).

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
}

// The note is still one of the program's notes.
bool CNoteManagerController::IsLive(CNoteController* note) const
{
    INoteKeeper* keeper = GetNoteKeeper();
    return note && keeper && (keeper->OwnNotes().Contains(note) || DeletedNotesList().Contains(note));
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
    for (CNoteController* note : SelectedNotes()) {
        if (!IsLive(note))
            continue;
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
    for (CNoteController* note : SelectedNotes()) {
        if (!IsLive(note))
            continue;
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
    const std::vector<CNoteController*> notes = SelectedNotes();
    size_t locked = 0;
    for (CNoteController* note : notes)
        locked += IsNoteLocked(*note) ? 1 : 0;
    if (IsDeletedView() || notes.empty() || (locked && locked != notes.size())) {
        MessageBeep(0);
        return;
    }
    const bool unlocking = locked == notes.size();
    for (CNoteController* note : notes) {
        if (!IsLive(note) || !note->m_window)
            continue;
        if (!unlocking || !IsClosedProtected(*note)) {
            const bool wasHidden = note->m_hidden;
            SendMessageA(note->m_window, WM_COMMAND, kNoteCmdToggleLock, 0);
            if (!unlocking && wasHidden)
                note->LockProtectedNote();
        } else if (!OpenClosedProtected(*note)) {
            SendMessageA(note->m_window, WM_COMMAND, kNoteCmdToggleLock, 0);
        }
        RedrawRow(note);
    }
    UpdateStatus();
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
    for (CNoteController* note : SelectedNotes()) {
        if (!IsLive(note) || !note->m_window)
            continue;
        const bool closed = IsClosedProtected(*note);
        if (closed && OpenClosedProtected(*note))
            continue;
        const LRESULT printed = PrintNoteWindow(note->m_window, first);
        first = false;
        if (closed)
            note->HideNote();
        if (!printed)
            break;
    }
    SetFocus(m_list);
}

void CNoteManagerController::DeleteSelectedNotes(bool confirmOne)
{
    const std::vector<CNoteController*> notes = SelectedNotes();
    bool locked = false;
    for (CNoteController* note : notes)
        locked = locked || IsNoteLocked(*note);
    if (notes.empty() || locked) {
        MessageBeep(0);
        return;
    }
    if (notes.size() >= 2 && !Ask(m_dialog, "Are you sure you want to delete all the selected notes?\r\n\r\n"))
        return;
    if (notes.size() == 1 && confirmOne && !Ask(m_dialog, "Are you sure you want to delete the selected note?\r\n\r\n"))
        return;
    for (auto it = notes.rbegin(); it != notes.rend(); ++it) {
        if (IsLive(*it))
            (*it)->DeleteNote();
    }
    DescribeCurrentSelection(-1);
}

void CNoteManagerController::UndeleteSelectedNotes()
{
    const std::vector<CNoteController*> notes = SelectedNotes();
    if (notes.empty())
        return;
    if (notes.size() >= 2 && !Ask(m_dialog, "Are you sure you want to undelete all the selected notes?\r\n\r\n"))
        return;
    for (auto it = notes.rbegin(); it != notes.rend(); ++it) {
        if (!IsLive(*it))
            continue;
        const int row = RowOf(*it);
        AskMainWindow(kMsgUndeleteNote, 0, **it);
        if (row >= 0)
            ListView_DeleteItem(m_list, row);
    }
    DescribeCurrentSelection(-1);
}

void CNoteManagerController::DuplicateSelectedNotes()
{
    const std::vector<CNoteController*> notes = SelectedNotes();
    if (notes.empty()) {
        MessageBeep(0);
        return;
    }
    for (CNoteController* note : notes) {
        if (!IsLive(note))
            continue;
        if (IsClosedProtected(*note)) {
            if (OpenClosedProtected(*note))
                continue;
            AskMainWindow(kMsgDuplicateNote, 0, *note);
            note->HideNote();
        } else {
            AskMainWindow(kMsgDuplicateNote, 0, *note);
        }
    }
    OnColumnClick(NoteManagerOptions().sortColumn, true);
    UpdateTrayTooltip();
    SetFocus(m_list);
}

// While a note is being sent the window answers the user with a beep; the
// wait is bounded so that a send that never ends cannot hold the window.
void CNoteManagerController::WaitWhileSending(CNoteController* note)
{
    m_busySending = true;
    const DWORD start = GetTickCount();
    while (IsLive(note) && note->m_window && SendMessageA(note->m_window, kMsgNoteIsTransmitting, 0, 0) &&
           GetTickCount() - start < kSendWaitMs) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    m_busySending = false;
}

void CNoteManagerController::SendSelectedNotes()
{
    const std::vector<CNoteController*> notes = SelectedNotes();
    if (notes.empty()) {
        MessageBeep(0);
        return;
    }
    std::vector<CDestination> destinations;
    bool first = true;
    for (CNoteController* note : notes) {
        if (!IsLive(note))
            continue;
        const bool closed = IsClosedProtected(*note);
        if (closed && OpenClosedProtected(*note))
            continue;
        const int sent = SendNoteTo(*note, first, destinations);
        first = false;
        WaitWhileSending(note);
        if (!IsLive(note))
            continue;
        if (closed && note->m_sendState == 1)
            note->HideNote();
        RedrawRow(note);
        if (!sent)
            break;
    }
    if (IsWindow(m_list))
        SetFocus(m_list);
}

void CNoteManagerController::ToggleStayOnTop(bool rollUp)
{
    const std::vector<CNoteController*> notes = SelectedNotes();
    size_t onTop = 0;
    for (CNoteController* note : notes)
        onTop += note->m_stayOnTop ? 1 : 0;
    if (IsDeletedView() || notes.empty() || (onTop && onTop != notes.size())) {
        MessageBeep(0);
        return;
    }
    for (CNoteController* note : notes) {
        if (!IsLive(note))
            continue;
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
    const std::vector<CNoteController*> notes = SelectedNotes();
    CNoteController* first = notes.front();
    if (!first->AssociateWith(1, 1))
        return;
    CRecordList<CAppAssociation> resultList;
    GetNoteAppAssociations(first->m_noteId, resultList);
    for (size_t i = 1; i < notes.size(); ++i) {
        CNoteController* note = notes[i];
        if (!IsLive(note))
            continue;
        RemoveNoteAssociations(AppAssociationsList(), note->m_noteId);
        if (note->m_noteId == 9999 && note->m_window)
            SaveNoteWindow(note->m_window);
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
    UpdateStatus();
}

void CNoteManagerController::OpenNoteSettings()
{
    const std::vector<CNoteController*> notes = SelectedNotes();
    if (notes.size() != 1) {
        MessageBeep(0);
        return;
    }
    CNoteController* note = notes.front();
    const int changed = note->ShowProperties(0, false, true, nullptr);
    SetFocus(m_dialog);
    if (changed && IsLive(note)) {
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
