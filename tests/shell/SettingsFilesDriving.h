#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "notemanager/NoteManagerFile.h"

// The data folder's settings files (noteman.QPD, apps.QPD, calendar.QPD)
// written and read as the program does, for tests that start the program on
// them. The current folder must be the data folder.

// noteman.QPD read as the program reads it, for the user.
struct NoteManagerContents {
    CRecordList<CNoteManagerOptions> options;
    CRecordList<CNoteGroup> groups;
    CRecordList<CGroupNotePair> pairs;
    CNoteManagerOptions current;
    NoteManagerContents(const std::string& path, DWORD user);
};

struct AddedGroup {
    DWORD id;
    const char* name;
};
struct AddedTie {
    DWORD note;
    const char* application;
};

// noteman.QPD of the folder: the standard groups and the user's standard
// options, the groups added, and the memberships (group, note) in their order.
void WriteGroups(const std::string& folder, DWORD user, std::initializer_list<AddedGroup> added,
                 std::initializer_list<std::pair<DWORD, DWORD>> memberships);
// apps.QPD of the folder with the associations in their order.
void WriteAssociations(const std::string& folder, std::initializer_list<AddedTie> ties);
// calendar.QPD with the standard options and styles of each user, appended
// in their order; the user's options in a colour of their own.
void WriteCalendar(DWORD user, COLORREF userColour, std::initializer_list<DWORD> users);
