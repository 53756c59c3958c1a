#pragma once

#include <windows.h>

#include <string>

#include "foundation/RecordList.h"
#include "globals/NoteManagerOptions.h"

// noteman.QPD: every user's Note Manager options with their columns, the note
// groups with their hotkeys, and which note is in which group.

struct NoteManagerLists {
    CRecordList<CNoteManagerOptions>& options;
    CRecordList<CNoteGroup>& groups;
    CRecordList<CGroupNotePair>& pairs;
};

// The ids of the groups "All (except Deleted)", "Deleted" and "None", as the
// last groups read name them (0, 1 and 2 until then).
struct GlobalGroupIds {
    BYTE all = kGroupAll;
    BYTE deleted = kGroupDeleted;
    BYTE none = kGroupNone;
};
GlobalGroupIds& NoteGroupGlobalIds();

// The file's whole text: the options records from the front of their list
// (seven columns each), the groups, then the memberships.
std::string NoteManagerXmlText(const NoteManagerLists& lists);
// Writes the text beside the file and puts it in the file's place at the end.
void SaveNoteManagerXml(const char* path, const NoteManagerLists& lists);

// The program's noteman.QPD in the data folder, from the program's lists:
// the current options go into the current user's record first.
void SaveNoteManagerXml();

// Reads every user's options into the emptied list; the record of the user
// becomes the current options (the filters stay those of the current ones).
// Without the user's record, the standard record is added at the front.
void LoadNoteManagerXml(const char* path, CRecordList<CNoteManagerOptions>& list, CNoteManagerOptions& current,
                        DWORD userId);
// Reads the groups and memberships into the emptied lists; without the file,
// the eight standard groups. Registers no hotkey: the caller does.
void LoadNoteGroupsXml(const char* path, CRecordList<CNoteGroup>& groups, CRecordList<CGroupNotePair>& pairs);

// A group with no hotkey allowed and Alt+Shift+G.
void ResetNoteGroup(CNoteGroup& group);
// Removes the note's first membership: 1, or 0 when it has none.
int RemoveNoteFromGroups(CRecordList<CGroupNotePair>& pairs, DWORD noteId);
void CopyNoteManagerOptions(CNoteManagerOptions& target, const CNoteManagerOptions& source);
