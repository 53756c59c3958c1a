#pragma once

// A box, a dialog or a wait that pumps messages runs a loop of its own, and
// that loop lets in work that has nothing to do with the work that showed
// it: a timer's save, a received note, the user's click on another window.
// Work that keeps state for the rest of what it is doing (such as the files
// a save has found held) counts the loops it runs, so that what such a loop
// lets in starts afresh rather than carry on that state.
class CModalLoop {
public:
    CModalLoop();
    ~CModalLoop();
    CModalLoop(const CModalLoop&) = delete;
    CModalLoop& operator=(const CModalLoop&) = delete;
};

// How many such loops the calling thread is inside now.
unsigned ModalLoopDepth();
