#pragma once

#include <windows.h>

#include <string>

// A message box owned by a note window sends messages to the thread of that
// window; a send thread that showed one while holding the notes-table lock
// would wait on the main thread while the main thread waits on the lock. So
// the savers keep their boxes back and show them once the lock is released.

// Keeps an error box for this thread to show later.
void ShowWhenUnlocked(HWND owner, const std::string& text);
// Shows the boxes this thread kept back (call without the notes-table lock),
// each text once.
void ShowKeptBoxes();

// While an object of this class lives, the boxes this thread keeps back stay
// kept, and they are shown when it goes: for work that must be done before
// any box can come up (the notes of an end in a file first).
class CKeptBoxesHeld {
public:
    CKeptBoxesHeld();
    ~CKeptBoxesHeld();
    CKeptBoxesHeld(const CKeptBoxesHeld&) = delete;
    CKeptBoxesHeld& operator=(const CKeptBoxesHeld&) = delete;
};
