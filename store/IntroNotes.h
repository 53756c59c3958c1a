#pragma once

#include <windows.h>

#include <vector>

class CDbfFile;
class CNoteController;

// The notes every new user finds: the rows of the settings table whose CONFIG
// is "IN", each made into a note of the user.
using CreatedNotes = std::vector<CNoteController*>;

// One note from the settings table's current row (colours, title, flags,
// fonts, delay and retry, the text of its memo, size), placed at
// (50 + 220 (k - 1), 50 + 50 (k - 1)) for the k-th intro note (k from 1).
// Returns the note, or null when none was created.
CNoteController* CreateNoteFromRecord(CDbfFile& settings, DWORD userId, int k);
// Every intro note for the user, in the order of their rows; the caller takes
// the notes into its lists.
void CreateIntroNotes(DWORD userId, CreatedNotes& notes);
