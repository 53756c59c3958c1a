#pragma once

#include <memory>
#include <string>
#include <vector>

#include "note/NoteController.h"

// The notes a data folder's notes table holds, of every user, read as the
// program reads them at start.
using StoredNoteList = std::vector<std::unique_ptr<CNoteController>>;
StoredNoteList LoadEveryNote(const std::string& folder);
