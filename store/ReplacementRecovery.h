#pragma once

// Puts right, before any table is opened, what a replacement of data files
// (a restore, an undo of a restore) left when it was cut short or could not
// give every file back: an interrupted replacement goes back to the files of
// before whenever their kept copies are all there; an undo is finished
// instead only when they are not, and its new versions all are. The user is
// told what was done, once, in a box and in error.txt. False when the folder
// cannot be made whole now (or holds copies that no record explains): the
// user was told which files hold what, nothing was deleted, and the start
// must stop. Safe to run again after a stop half-way.
bool RecoverInterruptedReplacement();
