#pragma once

#include <windows.h>

class CNoteController;

// Which note is in which group ("groupsAndNotes"): a note is in one group at
// most; "None" means in none.

// Makes the group the note's group ("None" takes it out of its group), saves
// noteman.QPD and tells the main window that the calendar may ask again.
void AssignToGroup(CNoteController& note, DWORD groupId);
// Takes every note out of the group; the number taken out.
int RemoveGroupMembers(DWORD groupId);
