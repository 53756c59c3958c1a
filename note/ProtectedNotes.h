#pragma once

#include <cstddef>

class INoteKeeper;
class CNoteController;

// Opening protected notes. A protected note is masked (its body shows the
// placeholder) until it is opened: silently with a password text given
// earlier in this run, when the user wants each password asked once per run,
// or through the password prompt.

extern const char kProtectedPlaceholder[];

enum ProtectedNoteResult {
    kProtectedNoteGone = -1,        // the note was closed while its prompt was open: leave it
    kProtectedNoteNotLocked = 0,    // nothing was done; the caller goes on
    kProtectedNoteStaysLocked = 1,  // the note was hidden (or did not open)
    kProtectedNoteOpened = 2,       // its text was loaded: lay the rich edits out again
    kProtectedNoteStopSearching = 3,
};

// Opens a masked note: with the remembered password texts first (once per
// run), else through the prompt, which may also hide the note, snooze its
// ringing alarm or switch it off. The caller holds the protected-note prompt
// flag. A prompt already open is only brought forward.
int OpenProtectedNote(INoteKeeper& app, CNoteController& note);
// The prompt alone (IDD_NOTE_PASSWORD_SEARCH while searching) for a shown
// masked note; the note is hidden when the user declines. With relayout the
// opened note's rich edits are laid out again.
int AskProtectedNotePassword(INoteKeeper& app, int relayout, CNoteController& note, int searching);
// Puts the placeholder back into every hidden protected note that holds its
// body (or into the one given).
void MaskProtectedNotes(INoteKeeper& app, CNoteController* note);
// A note without an attached file takes the one of its latest send.
void FindLastAttachedFilePath(CNoteController& note);
// The password prompt of this program, when one is open, comes forward.
bool BringPasswordPromptForward();

// A note that is locked is saved at once, with the memo file rebuilt, so that
// no plain copy of its text stays on the disk. While an object of this class
// lives (one command that locks several notes), the notes it locks wait for
// one such save, made by Save, and one box says when that fails: one rebuild
// and one box for the command, not one for every note. Without a password
// the command says once that no note can be locked.
class CLocksSavedTogether {
public:
    CLocksSavedTogether();
    ~CLocksSavedTogether();
    CLocksSavedTogether(const CLocksSavedTogether&) = delete;
    CLocksSavedTogether& operator=(const CLocksSavedTogether&) = delete;

    // The notes locked meanwhile saved, when there are any; false when they
    // could not be, after the box on the owner.
    bool Save(INoteKeeper* keeper, void* owner);

    // Whether the lock of a note made now waits for the command's save, and
    // counts it. A note locked from a loop the command's box runs (the user
    // at another note) is saved at once.
    static bool TakeLockedNote();
    // Whether the command has already said that a note is locked only once
    // there is a password; the first note to ask is told no, and says it.
    static bool ToldNoPassword();

private:
    CLocksSavedTogether* m_outer;
    unsigned m_loopDepth;
    size_t m_locked = 0;
    bool m_toldNoPassword = false;
};

// Saves every note with the memo file rebuilt after count notes were locked;
// when that fails, one box on the owner says that the plain text stays on
// the disk until a save succeeds, and which files another program holds.
bool SaveAfterLocking(INoteKeeper* keeper, void* owner, size_t count);
