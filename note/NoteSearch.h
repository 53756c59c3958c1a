#pragma once

#include <windows.h>

class CNoteController;

// Searching the text of notes for what the Find box is given, without regard
// to case. Positions are characters of the note's body, as its selection
// counts them.

struct TextMatch {
    LONG start = -1;
    LONG end = -1;
};

// The next match at or after `from` (forward), or the last one that ends at
// or before `from` (backward); false when there is none. A locked note's body
// shows only its placeholder and is never searched.
bool FindInNote(const CNoteController& note, const char* wanted, LONG from, bool forward, TextMatch& match);
// Brings the note before the user (from hiding too), selects the match in its
// body and scrolls it into view; the selection shows also while the Find box
// has the focus.
void ShowMatch(CNoteController& note, const TextMatch& match);
// Whether the body shows its selection while another window has the focus.
void ShowSelectionUnfocused(const CNoteController& note, bool show);

// A search that a note's Find box passes on to the user's other notes through
// the main window: each note in turn looks for the text in its own body; the
// first that holds it shows the match and, when the request stops at the
// first match, ends the walk.
struct NoteSearchRequest {
    char text[256] = "";
    bool stopAtFirstMatch = true;
    bool reportSearchedAll = true;  // set searchedAll when no note ended the walk
    HWND foundIn = nullptr;         // the note window that holds the match
    TextMatch match;
    bool searchedAll = false;
};

// The note's part in another note's search (messages 0x8087, and 0x808A for a
// protected note that is open). Answers non-zero when this note holds the
// text; it then comes up with the match selected.
LRESULT TakePartInSearch(CNoteController& note, NoteSearchRequest& request);
// The walk has passed a protected note by (0x8094): a note opened only for the
// search is locked again.
void PassedBySearch(CNoteController& note, bool openedForSearch);
