#pragma once

#include <windows.h>

// Every write of the notes table and its memo file, from the main thread or a
// send thread, happens while this lock is held.
CRITICAL_SECTION& NotesTableLock();
