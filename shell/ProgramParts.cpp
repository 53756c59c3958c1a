#include "shell/ProgramParts.h"

#include "note/NoteCreation.h"
#include "store/NoteMaking.h"

void ConnectProgramParts()
{
    // The tables describe notes; the note side makes them.
    SetNoteMaker(&CreateNote);
}
