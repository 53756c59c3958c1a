#pragma once

#include "store/NoteDescription.h"

class CNoteController;

// The one way a note comes into being: from the notes table at start, from a
// new-note command, from the network, from a backup. Returns the new note, or
// null when none was created. The caller places the note in the application's
// note lists, which own it from then on.
CNoteController* CreateNote(const NoteDescription& description);

// A description of a new note of the current user: the given one with the
// user's default looks (or, with styles in rotation, the next style's), the
// id of a note never stored, the time now and the alarm off.
NoteDescription UserDefaultDescription(const NoteDescription& given);

// The style rotation: the index (0 to 8) of the next style new notes take
// when the user asked for styles in rotation.
int NextRotatedStyle();

// What placing a note reads of the screen (its bounds, the taskbar's edge) is
// read once for all the notes of a load; the settings or the display changing
// makes it be read again.
void ForgetScreenFacts();

// The note's fields taken from a description (every member the description carries).
void FillNoteFromDescription(CNoteController& note, const NoteDescription& description);
