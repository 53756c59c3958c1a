#include "notemanager/NoteManagerGroupMembers.h"

#include "foundation/bytes/MessageBoxes.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "notemanager/NoteManagerFile.h"

void AssignToGroup(CNoteController& note, DWORD groupId)
{
    CRecordList<CGroupNotePair>& pairs = GroupsAndNotesList();
    while (RemoveNoteFromGroups(pairs, note.m_noteId)) {
    }
    if (groupId != NoteGroupGlobalIds().none) {
        CGroupNotePair pair{static_cast<DWORD>(pairs.NextFreeId()), groupId, note.m_noteId};
        pairs.AddAssociationToHead(pair);
    }
    SaveNoteManagerXml();
    TellCalendarAlarmsChanged(GetMainWindow());
}

int RemoveGroupMembers(DWORD groupId)
{
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
