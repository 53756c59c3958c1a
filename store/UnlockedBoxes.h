#pragma once

#include <windows.h>

#include <string>

// A message box owned by a note window sends messages to the thread of that
// window; a send thread that showed one while holding the notes-table lock
// would wait on the main thread while the main thread waits on the lock. So
// the savers keep their boxes back and show them once the lock is released.

// Keeps an error box for this thread to show later.
void ShowWhenUnlocked(HWND owner, const std::string& text);
// Shows the boxes this thread kept back (call without the notes-table lock).
void ShowKeptBoxes();
