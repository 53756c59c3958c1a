// A note's search passed on to the user's other notes.
#include <winsock2.h>

#include "shell/WindowController.h"

#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/NoteSearch.h"
#include "note/ProtectedNotes.h"
#include "shell/NoteLists.h"

// Each own note but the sender, in list order, looks for the text. A
// protected note takes part only when it is open or, hidden, opens silently
// with the passwords given in this run; one opened only for the search is
// locked again when the walk goes past it, so its text is never left showing.
void CWindowController::BroadcastSearch(NoteSearchRequest& request, const CNoteController* sender)
{
    bool ended = false;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (note == sender || !note->m_window)
            return true;
        const LPARAM asked = reinterpret_cast<LPARAM>(&request);
        if (note->m_protected) {
            const int opened = note->OpenProtectedNote();
            if (note->IsLocked())
                return true;
            SendMessageA(note->m_window, kNoteMsgSearchProtected, 0, asked);
            if (!request.foundIn || !request.stopAtFirstMatch)
                SendMessageA(note->m_window, kNoteMsgSearchProtectedNext, opened == kProtectedNoteOpened ? 1 : 0,
                             asked);
        } else {
            SendMessageA(note->m_window, kNoteMsgSearchRequest, 0, asked);
        }
        ended = request.foundIn && request.stopAtFirstMatch;
        return !ended;
    });
    if (!ended && request.reportSearchedAll)
        request.searchedAll = true;
}
