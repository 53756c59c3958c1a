#pragma once

#include <windows.h>

class CWindowController;

// The Note Manager as the shell opens it. This version has no Note Manager
// window: both calls answer 0 and open nothing.

// Runs the Note Manager with the request (0 for the plain window).
int RunNoteManagerDialog(CWindowController& app, LPARAM request);
// Brings an open Note Manager forward with the request, or runs it.
int OpenNoteManager(CWindowController& app, LPARAM request);
