#pragma once

#include <vector>

struct NoteRecord;

// Writes the notes table and its memo file afresh, the memo file holding only
// the texts that live records name (caller holds the notes-table lock, and no
// rebuilt pair is waiting). The new pair is built aside and installed whole; a
// record whose note is not in the list, or whose text may not be stored,
// keeps its old text. Fills remaining with the notes still to be saved one by
// one: those without a record, or every note when the rebuild could not be
// made (kNotMade), in which case the stored pair is untouched. kWaiting when
// the new pair was marked for installing but could not be installed: it then
// waits, and nothing may be saved until it is in place.
enum class MemoRebuild { kRebuilt, kNotMade, kWaiting };
MemoRebuild RebuildNotesTableAndMemo(const std::vector<NoteRecord*>& notes, std::vector<NoteRecord*>& remaining);
