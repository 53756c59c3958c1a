#pragma once

#include <windows.h>

class CNoteController;
class CPtrList;

// The application object as the notes meet it: it keeps the note objects in
// its lists. The main window's application object (shell/WindowController.h)
// is the keeper while it lives; before and after, there is none.
class INoteKeeper {
public:
    virtual CPtrList& OwnNotes() = 0;
    virtual CPtrList& OtherNotes() = 0;
    // Takes a note made by the program into the right list.
    virtual void AdoptNote(CNoteController* note) = 0;
    // The same for a note just made by the user or received, which the open
    // Note Manager lists at once; notes loaded or restored do not come this way.
    virtual void AdoptNewNote(CNoteController* note) = 0;
    // A note going away is forgotten as the last one used.
    virtual void ForgetNote(CNoteController* note) = 0;
    virtual CNoteController* LastNote() const = 0;
    virtual void ShowNote(CNoteController* note, bool activate) = 0;
    // A locked note opened, the protected-note prompt flag held meanwhile.
    virtual int OpenLockedNote(CNoteController& note) = 0;
    // Every note saved, with rebuildMemo the memo file written afresh; true
    // when every note was stored and the memo file rebuilt as asked.
    virtual bool SaveAllNotes(bool rebuildMemo) = 0;
    // After an action that could not store a change: the notes as they are
    // go into the rescue backup at once, as after a timed save that failed.
    virtual void KeepUnstoredChanges() = 0;

protected:
    ~INoteKeeper() = default;
};

void SetNoteKeeper(INoteKeeper* keeper);
// Whether the note is still one of the keeper's notes (its own, another
// user's or a deleted one) and, when it had a window, still has that one. A
// modal loop that a note opened asks this before it touches the note again:
// a restore started meanwhile closes every note.
bool IsLiveNote(const CNoteController* note, HWND window);
// The keeper of the notes; null while there is none.
INoteKeeper* GetNoteKeeper();
