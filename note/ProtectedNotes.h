#pragma once

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
