#pragma once

#include <string>

// A print of the notes that notes.QPD and notes.qps hold: each live record's
// fields and text, but where the text lies in the memo file, in no order of
// records (the form of the print of the notes a program holds). It changes
// when a note is stored with other fields or another text, or a record comes
// or goes, whichever program stored it; a rebuild of the pair that writes
// the same notes leaves it as it was. A pair that cannot be read now gives a
// print no other call gives.
std::string StoredNotesPrint();
