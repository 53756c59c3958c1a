#pragma once

#include <windows.h>

#include "foundation/MemArray.h"
#include "store/IntroNotes.h"

class CDbfFile;

// The users table ("users.QPD"): one record per user of the data folder, the
// record number being the user's id. These find or create the current user's
// record and read it into the user's settings, write the user's options back,
// and keep the users array that tells whose notes are shared. Table failures
// are thrown as CGenericException.

// Finds the current user's record (by the "/u=" name, or by the logged-on user
// on this computer) or creates one, reads its settings and, for the logged-on
// user, the chat options. A new user's intro notes are added to the list, for
// the caller to take into its note lists. Any failure other than the
// program's exception becomes "IdentifyUser Unknown exception".
void IdentifyUser(CreatedNotes& introNotes);
// The "/u=" path: the record of that name, else the logged-on user's record
// taken over for that name, else a new record.
void FindUserRecord(CreatedNotes& introNotes);
// Appends a record filled with the program's values (named: the "/u=" name as
// user and computer name) and gives the new user the stored intro notes.
void CreateDefaultUser(bool named, CreatedNotes& introNotes);
// The current user's record into the user's settings, with the corrections of
// values out of range; then the style rows and the hotkey switches.
void ReadUserSettings();

// Finds the record of this run's user and computer and makes its id the
// current user's; false when there is none.
bool FindCurrentUser();

// One entry per user id (entry 0 blank): the names and whether the user shares
// notes with the other users of the data folder.
struct CUserEntry {
    char userName[26];
    char computerName[26];
    DWORD sharesNotes;
};
CMemArray<CUserEntry>& UsersArray();
// Builds the users array from the table: 1, or 0 after a box.
int FillArraySharingNotes();
// The first entry with both names (any case); 0 when none.
DWORD FindUserIndex(const char* userName, const char* computerName);
// Every user's notes shared, or none: the choice into every record of the
// table and every entry of the users array.
void SaveShareNotesForEveryUser(DWORD share);

// The packed show-desktop, park, find-text, alarm-note, Note Manager and
// favourites hotkeys into the current user's record of the open users table.
void SavePackedHotkeys(CDbfFile& users);
// What the Settings sheet changed: the user's options (the packed hotkeys too)
// into the user's record, the ports into the settings table when they differ
// from before. The caller registers the hotkeys again and restarts the listener.
void SaveSettingsSheetOptions(WORD previousListenPort, WORD previousSendPort);
// At exit: the values of this run (language, save interval, backup switches,
// tab width) into the user's record. A missing users table is reported and
// false returned; the notes are saved all the same.
bool SaveUserRunValues();
// The looks of new notes (colours, title, flags, fonts) into the user's record.
void SaveUserNoteDefaults();
