#include "note/NoteGroupWaiting.h"

#include "foundation/MainThread.h"
#include "note/NoteController.h"

namespace {
WaitingGroupJoiner g_joiner = nullptr;
}

void SetWaitingGroupJoiner(WaitingGroupJoiner joiner)
{
    g_joiner = joiner;
}

void JoinWaitingGroup(CNoteController& note)
{
    // The group lists are the main thread's: a save elsewhere leaves the
    // group waiting for a save there, as the one at the end is.
    if (g_joiner && OnMainThread() && note.m_waitingGroup >= 0 && IsStoredNoteId(note.m_noteId))
        g_joiner(note);
}
