#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "notemanager/NoteManagerFile.h"

// The program's noteman.QPD and apps.QPD in the data folder, read into and
// written from the program's lists.

// The associations, the groups (their allowed hotkeys registered on the
// window, those of the groups before unregistered), then the user's options.
void LoadAssociationsAndGroups(HWND main);
// The group hotkeys unregistered, the associations, groups and memberships gone.
void UnloadAssociationsAndGroups(HWND main);
// A deleted note leaves its groups and its programs; both files are rewritten.
void ForgetNoteGroupsAndApps(DWORD noteId);
// Both files written from the lists, each whatever became of the other; the
// names of those that could not be written (another program holds them, say),
// each failure logged.
std::vector<std::string> SaveGroupsAndAssociations();
