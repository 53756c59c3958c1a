#pragma once

#include "store/NoteDescription.h"

class CNoteController;

// The notes that the tables describe (stored notes, a new user's intro notes)
// are made by the note side, which registers its maker when the program starts
// (shell/ProgramParts.cpp); the table code holds the notes only as pointers.
using NoteMaker = CNoteController* (*)(const NoteDescription& description);
void SetNoteMaker(NoteMaker maker);

// The note made from the description; null when none was made, also when no
// maker is registered.
CNoteController* MakeNote(const NoteDescription& description);
