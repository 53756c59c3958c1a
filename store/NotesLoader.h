#pragma once

#include <functional>

#include "store/RowOwnership.h"

class CNoteController;

// Reads every record of the notes table and creates its note: the current
// user's own notes and the other users' notes (marked not shared when their
// owner does not share). A record that belongs to nobody (owner 0) is logged,
// deleted and its slot made free. The free-record list of the notes table is
// rebuilt first. Each created note goes to place, which takes it over.
// A text that cannot be read gives its note an empty text, logged; table
// failures, and a rebuilt pair that waits and cannot be installed yet, throw
// CGenericException. Returns the number of notes created.
int LoadNotes(const RowOwnership& ownership, const std::function<void(CNoteController*)>& place);
