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
// (seven columns each), the groups, then the memberships of stored notes.
std::string NoteManagerXmlText(const NoteManagerLists& lists);
// Writes the text beside the file and puts it in the file's place at the end;
// a damaged file that could not be kept aside is not written over (throws).
void SaveNoteManagerXml(const char* path, const NoteManagerLists& lists);

// The program's noteman.QPD in the data folder, from the program's lists:
// the current options go into the current user's record first.
void SaveNoteManagerXml();

// Reads the file once into the emptied lists: the groups and memberships
// (without a file, the eight standard groups), then every user's options,
// the user's record becoming the current options (the filters stay those of
// the current ones; without the user's record, the standard record is added
// at the front). A file that cannot be read is kept aside and reported once,
// and the standard groups and options stand in for it; a group without its
// id or name, a membership without its group or note or of a group not read
// (the fixed groups always count as read), an options record or a column
// without one of its keys is skipped and reading goes on, the file then
// copied aside and reported once (CSkippedEntries). A file another
// program holds throws CGenericException, the lists left as they were. A
// membership of a note never stored is dropped without a word.
// Registers no hotkey: the caller does.
void LoadNoteManagerFile(const char* path, const NoteManagerLists& lists, CNoteManagerOptions& current,
                         DWORD userId);

// A group with no hotkey allowed and Alt+Shift+G.
void ResetNoteGroup(CNoteGroup& group);
// Removes the note's first membership: 1, or 0 when it has none.
int RemoveNoteFromGroups(CRecordList<CGroupNotePair>& pairs, DWORD noteId);
void CopyNoteManagerOptions(CNoteManagerOptions& target, const CNoteManagerOptions& source);
