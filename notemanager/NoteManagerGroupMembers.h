#pragma once

#include <windows.h>

class CNoteController;

// Which note is in which group ("groupsAndNotes"): a note is in one group at
// most; "None" means in none. A membership names the note by its record.

// Makes the group the note's group in the lists ("None" takes it out of its
// group); writes no file. A note without a record is stored first; one that
// cannot be stored yet (another program holds the notes table, say) keeps
// the group waiting and joins it once it is stored.
void PutInGroup(CNoteController& note, DWORD groupId);
// The same, then noteman.QPD saved and the main window told that the
// calendar may ask again.
void AssignToGroup(CNoteController& note, DWORD groupId);
// A note just stored joins the group that waited for its record, and
// noteman.QPD is saved; when it cannot be written (the failure is logged),
// the group waits on for the note's next save. Main thread only.
void JoinStoredNoteToWaitingGroup(CNoteController& note);
// Takes every note out of the group, the notes waiting for it too; the
// number of memberships taken out.
int RemoveGroupMembers(DWORD groupId);
