// The application object's answers to private messages.
#include <winsock2.h>

#include <cstdint>

#include "foundation/bytes/MessageBoxes.h"
#include "net/ChatStrip.h"
#include "note/NoteMessages.h"
#include "note/ProtectedNotes.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteLists.h"
#include "globals/ProgramGlobals.h"
#include "shell/StartupPasswordDialog.h"
#include "shell/WindowController.h"
#include "store/FreeSlotLists.h"

namespace {
const size_t kMaxDeletedNotes = 15;
const int kCaptionTextLength = 24;
const int kMaxNoteTextRead = 32768;

CNoteController* NoteOf(LPARAM lParam)
{
    return reinterpret_cast<CNoteController*>(lParam);
}


// "DeletedNotesList" keeps the latest deleted notes for undeleting; the oldest
// goes when it is full, so the Undelete submenu's ids always suffice.
void KeepDeletedNote(CNoteController* note)
{
    CPtrList& deleted = DeletedNotesList();
    for (int guard = 0; guard < 64 && deleted.GetCount() >= kMaxDeletedNotes; ++guard) {
        auto* oldest = static_cast<CNoteController*>(deleted.GetLast());
        deleted.DeleteElem(oldest);
        if (oldest->m_window)
            SendMessageA(oldest->m_window, WM_CLOSE, 0, 0);
        else
            delete oldest;
    }
    deleted.AddHead(note);
}
}

void CWindowController::DeleteNoteFromVisibleList(CNoteController* note)
{
    if (!note) {
        ShowMessageBox(m_mainWindow, "DeleteNoteFromVisibleList failed pNote=NULL ??", ProgramTitle, kMbOk);
        return;
    }
    if (!m_ourNotes.Contains(note)) {
        char caption[kCaptionTextLength + 1] = "";
        if (note->m_window) {
            std::string text(kMaxNoteTextRead, '\0');
            GetWindowTextA(note->m_window, &text[0], kMaxNoteTextRead);
            lstrcpynA(caption, text.c_str(), sizeof caption);
        }
        ShowMessageBox(m_mainWindow, "DeleteNoteFromVisibleList failed. pNote not a member of the list", caption,
                       kMbOk);
        return;
    }
    void* previous = m_ourNotes.GetPrev(note);
    void* next = m_ourNotes.GetNext(note);
    m_ourNotes.DeleteElem(note);
    if (previous)
        m_lastNote = previous;
    else if (next)
        m_lastNote = next;
    else if (!m_ourNotes.IsEmpty())
        m_lastNote = m_ourNotes.GetLast();
    UpdateTrayTooltip();
}

// A note that other windows name by its object: one of the program's lists
// must hold it, or it is not touched.
CNoteController* CWindowController::KnownNote(LPARAM lParam) const
{
    CNoteController* note = NoteOf(lParam);
    if (note && (m_ourNotes.Contains(note) || m_otherNotes.Contains(note) || DeletedNotesList().Contains(note)))
        return note;
    return nullptr;
}

// The note comes forward with the focus, topmost once, as the last one used.
void CWindowController::FocusNote(CNoteController* note)
{
    if (!note || !note->m_window)
        return;
    SetFocus(note->m_window);
    SetForegroundWindow(note->m_window);
    if (!note->m_raised)
        RaiseNoteOnce(note->m_window, true);
    SendMessageA(m_mainWindow, kMsgRememberLastNote, 0, reinterpret_cast<LPARAM>(note));
}

LRESULT CWindowController::NoteAfter(CNoteController* note) const
{
    return reinterpret_cast<LRESULT>(m_ourNotes.GetNextCircular(note));
}

// The nearest own note before (or after) the given one that is not hidden,
// the walk going round the list; none when it comes back to the given note.
void CWindowController::FocusNeighbour(CNoteController* note, bool earlier)
{
    if (!note || !m_ourNotes.Contains(note))
        return;
    const DWORD count = m_ourNotes.GetCount();
    void* current = note;
    for (DWORD i = 0; i < count; ++i) {
        current = earlier ? m_ourNotes.GetPrevCircular(current) : m_ourNotes.GetNextCircular(current);
        if (!current || current == note)
            return;
        auto* neighbour = static_cast<CNoteController*>(current);
        if (neighbour->m_hidden)
            continue;
        // Going forward to a chat note not yet raised, the user goes on
        // typing in its input line.
        CChatStrip* chat = !earlier && !neighbour->m_raised ? CChatStrip::OfNote(neighbour->m_window) : nullptr;
        FocusNote(neighbour);
        if (chat && chat->Input())
            SetFocus(chat->Input());
        return;
    }
}

bool CWindowController::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    std::intptr_t answer = 0;
    result = 0;
    switch (message) {
    case kNotesFirstDeletedMessage:
    case kTransactFirstDeletedMessage:
        AnswerFreeSlotMessage(message, wParam, answer);
        result = answer;
        return true;
    case kNotesRemoveDeletedMessage:
    case kNotesAddDeletedMessage:
    case kTransactAddDeletedMessage:
    case kTransactRemoveDeletedMessage:
        // These also pass on to the default procedure.
        AnswerFreeSlotMessage(message, wParam, answer);
        return false;
    case kMsgCloseProgram:
        SendMessageA(m_mainWindow, WM_CLOSE, 0, 0);
        return true;
    case kMsgAskUnstoredAtEnd:
        AskAfterRefusedSessionEnd();
        return true;
    case kMsgTellBusyAtEnd:
        TellBusyAfterRefusal(wParam);
        return true;
    case kMsgFinishSessionEnd:
        FinishSessionEnd();
        return true;
    case kMsgFocusPreviousNote:
        FocusNeighbour(NoteOf(lParam), true);
        return true;
    case kMsgFocusNextNote:
        FocusNeighbour(NoteOf(lParam), false);
        return true;
    case kMsgInsertOtherNote:
        if (NoteOf(lParam))
            m_otherNotes.InsertSortedByDate(NoteOf(lParam));
        return true;
    case kMsgInsertOwnNote:
        if (NoteOf(lParam))
            m_ourNotes.InsertSortedByDate(NoteOf(lParam));
        return true;
    case kMsgRemoveVisibleNote:
        DeleteNoteFromVisibleList(NoteOf(lParam));
        return false;
    case kMsgNoteAfter:
        result = NoteAfter(NoteOf(lParam));
        return true;
    case kMsgClearSelections:
        ForEachNote(m_ourNotes, [](CNoteController* note) {
            if (note->m_bodyEdit)
                SendMessageA(note->m_bodyEdit, EM_SETSEL, 0, 0);
            return true;
        });
        return false;
    case kMsgRememberLastNote:
        m_lastNote = NoteOf(lParam);
        return true;
    case kMsgKeepDeletedNote:
        if (NoteOf(lParam))
            KeepDeletedNote(NoteOf(lParam));
        return false;
    case kMsgUndeleteNote:
        if (CNoteController* note = KnownNote(lParam))
            UndeleteNote(-1, note);
        return false;
    case kMsgDuplicateNote:
        if (CNoteController* note = KnownNote(lParam))
            DuplicateNote(*note);
        return false;
    case kMsgOpenProtectedNote:
        if (CNoteController* note = KnownNote(lParam))
            result = OpenLockedNote(*note);
        return true;
    case kMsgAskNotePassword:
        if (CNoteController* note = KnownNote(lParam))
            result = AskLockedNotePassword(*note, static_cast<int>(wParam), 0);
        return true;
    case kMsgOpenPasswordRecovery:
        OpenPasswordRecoveryPage(m_mainWindow);
        return true;
    case kMsgMaskProtectedNotes:
        MaskProtectedNotes(*this, nullptr);
        return false;
    case kMsgHasChatNote: {
        bool found = false;
        ForEachNote(m_ourNotes, [&](CNoteController* note) {
            found = note->m_chatNote;
            return !found;
        });
        result = found ? 1 : 0;
        return true;
    }
    case kMsgFocusNoteByWindow:
        ForEachNote(m_ourNotes, [&](CNoteController* note) {
            if (note->m_window != reinterpret_cast<HWND>(lParam))
                return true;
            FocusNote(note);
            return false;
        });
        return true;
    case kMsgIsBusySaving:
        result = m_busySaving;
        return true;
    case kMsgOpenTrayMenu:
        ShowTrayMenu(wParam);
        return true;
    case kMsgMessageReceived:
        result = lParam && OnNoteReceived(static_cast<int>(wParam), *reinterpret_cast<const CReceivedMessage*>(lParam));
        return true;
    default:
        return OnDesktopMessage(message, wParam, lParam, result);
    }
}
