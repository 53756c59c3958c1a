#pragma once

#include <cstddef>
#include <string>

struct NoteRecord;

// Long rich texts are stored packed: a zip archive in memory holding the one
// entry "fullscreen.rtf".

// Texts of this many bytes or more are stored packed.
const size_t kPackedTextFromBytes = 262145;

// Packs the bytes into the note's packed copy; non-zero on success (the
// packed copy is then the archive), 0 when packing failed (it is emptied).
int PackNoteRtf(NoteRecord& note, const char* bytes, size_t length, int flag);

// A stored text that is such an archive, unpacked into text; other texts
// are left alone. False for an archive that cannot be unpacked.
bool UnpackStoredNoteText(std::string& text);
