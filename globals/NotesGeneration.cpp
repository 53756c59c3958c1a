#include "globals/NotesGeneration.h"

namespace {
// Main thread only, as the notes are.
unsigned g_generation = 0;
}

unsigned NotesGeneration()
{
    return g_generation;
}

void RaiseNotesGeneration()
{
    ++g_generation;
}
