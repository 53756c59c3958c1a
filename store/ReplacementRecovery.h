#pragma once

// Puts right, before any table is opened, what a replacement of data files
// (a restore, an undo of a restore) left when it did not finish or could not
// give every file back: an unfinished replacement goes back to the files of
// before whenever their kept copies are all there; an undo is finished
// instead only when they are not, and its new versions all are. The user is
// told what was done, once, in a box and in error.txt. False when the start
// must stop, after a box that says why and what the user can do, with
// nothing deleted: the folder cannot be made whole now, holds copies or a
// record that the program cannot act on, the record is held by another
// program, or the record could not be updated once the set was made whole
// (no table may be loaded while it says that files are being replaced).
// Safe to run again after a stop half-way.
bool RecoverInterruptedReplacement();
