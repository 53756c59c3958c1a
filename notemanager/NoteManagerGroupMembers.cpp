#include "notemanager/NoteManagerGroupMembers.h"

#include "foundation/DiagnosticLog.h"
#include "foundation/PtrList.h"
#include "foundation/bytes/GenericException.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "note/NoteKeeper.h"
#include "notemanager/NoteManagerFile.h"
#include "store/NoteSaving.h"

namespace {
void ForgetWaitingGroup(const CPtrList& notes, DWORD groupId)
{
    const DWORD count = notes.GetCount();
    void* item = notes.GetFirst();
    for (DWORD i = 0; item && i < count; ++i, item = notes.GetNext(item)) {
        auto* note = static_cast<CNoteController*>(item);
        if (note->m_waitingGroup == static_cast<int>(groupId))
            note->m_waitingGroup = -1;
    }
}
}

void PutInGroup(CNoteController& note, DWORD groupId)
{
    const bool none = groupId == NoteGroupGlobalIds().none;
    // Cleared first, so that the save below joins no group picked before.
    note.m_waitingGroup = -1;
    if (!none && !IsStoredNoteId(note.m_noteId)) {
        note.SyncFromWindow();
        SaveNote(note);
    }
    if (!IsStoredNoteId(note.m_noteId)) {
        if (!none)
            note.m_waitingGroup = static_cast<int>(groupId);
        return;
    }
    CRecordList<CGroupNotePair>& pairs = GroupsAndNotesList();
    while (RemoveNoteFromGroups(pairs, note.m_noteId)) {
    }
    if (!none) {
        CGroupNotePair pair{static_cast<DWORD>(pairs.NextFreeId()), groupId, note.m_noteId};
        pairs.AddAssociationToHead(pair);
    }
}

void AssignToGroup(CNoteController& note, DWORD groupId)
{
    PutInGroup(note, groupId);
    SaveNoteManagerXml();
    TellCalendarAlarmsChanged(GetMainWindow());
}

void JoinStoredNoteToWaitingGroup(CNoteController& note)
{
    const int group = note.m_waitingGroup;
    if (group < 0 || !IsStoredNoteId(note.m_noteId))
        return;
    PutInGroup(note, static_cast<DWORD>(group));
    // The note has just been stored, perhaps by the end of the session: no
    // box. Until the file is written the group goes on waiting, and the
    // note's next save writes it again.
    try {
        SaveNoteManagerXml();
    } catch (const CGenericException& failure) {
        WriteErrorLog("JoinStoredNoteToWaitingGroup():", failure.GetErrorText());
        note.m_waitingGroup = group;
    }
    TellCalendarAlarmsChanged(GetMainWindow());
}

int RemoveGroupMembers(DWORD groupId)
{
    if (INoteKeeper* keeper = GetNoteKeeper()) {
        ForgetWaitingGroup(keeper->OwnNotes(), groupId);
        ForgetWaitingGroup(keeper->OtherNotes(), groupId);
    }
    CRecordList<CGroupNotePair>& pairs = GroupsAndNotesList();
    int removed = 0;
    const DWORD count = static_cast<DWORD>(pairs.GetCount());
    for (DWORD i = 0; i <= count; ++i) {
        auto* node = pairs.GetFirst();
        while (node && node->record.groupID != groupId)
            node = node->next;
        if (!node)
            break;
        pairs.Remove(node);
        ++removed;
    }
    return removed;
}
