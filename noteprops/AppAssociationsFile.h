#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "noteprops/AppAssociations.h"

// apps.QPD: for each association the window title, the note's id and the
// program's small icon, as the Base64 text of an icon file.

// The 16 x 16 icons of the associated programs; an association's icon index
// points into it. Made on first use; emptied with the associations.
HIMAGELIST AppIconImageList();

// The Base64 text of the list's icon as an icon file (as apps.QPD and the
// backups carry icons); empty when there is none or it is over 51,200 bytes.
std::string IconText(HIMAGELIST icons, int index);
// The icon of such a text added to the list: its index, or -1.
int AddIconFromText(HIMAGELIST icons, const std::string& text);

// The file's whole text, the associations from the front of the list.
std::string AppAssociationsXmlText(const CRecordList<CAppAssociation>& list, HIMAGELIST icons);
// Writes the text beside the file and puts it in the file's place at the end;
// a damaged file that could not be kept aside is not written over (throws).
void SaveAppAssociations(const char* path, const CRecordList<CAppAssociation>& list, HIMAGELIST icons);
// Reads the file into the emptied list (each at the front, ids counting from
// 0) and its icons into the emptied image list; 0 when there is no file. A
// file that cannot be read is kept aside and reported once; the list stays
// empty. An association without its note id or program is skipped, one
// without its icon kept without it, and reading goes on; the file is then
// copied aside and reported once (CSkippedEntries). A file another program
// holds throws CGenericException, the lists as they were.
int LoadAppAssociations(const char* path, CRecordList<CAppAssociation>& list, HIMAGELIST icons);

// The program's own: apps.QPD of the data folder, "AssociatedWithApps" and
// the program's icon list.
void SaveAppAssociations();
int LoadAppAssociations();

// Takes every association of the note out of the list; the number taken.
int RemoveNoteAssociations(CRecordList<CAppAssociation>& list, DWORD noteId);
// Appends a copy of each association of the note to the list; their number.
int GetNoteAppAssociations(DWORD noteId, CRecordList<CAppAssociation>& list);
