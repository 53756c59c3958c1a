#pragma once

// Counts the times the program's notes were all closed or made again: a
// restore, its undo, a reload of the tables. A command that took notes and
// then waits in a modal loop (a box, a dialog, a send) reads it before the
// loop: when it has changed after, the notes it took are gone, and notes the
// user never chose may live at their addresses.
unsigned NotesGeneration();
void RaiseNotesGeneration();
