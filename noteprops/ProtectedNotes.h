#pragma once

class CWindowController;
class CNoteController;

// Protected notes as the shell meets them: opening a locked note, asking for
// its password, and putting the placeholder back. Passwords and the cipher of
// protected notes are not part of this version: a locked note stays locked.

enum ProtectedNoteResult {
    kProtectedNoteNotLocked = 0,  // nothing to open; the caller goes on
    kProtectedNoteStaysLocked = 1,
    kProtectedNoteOpened = 2  // the text was loaded: lay the rich edits out again
};

// Opens a locked note; the caller sets the protected-note prompt flag around it.
int OpenProtectedNote(CWindowController& app, CNoteController& note);
// The password prompt of a note that shows the placeholder; 0 when no password
// was accepted.
int AskProtectedNotePassword(CWindowController& app, int mode, CNoteController& note, int fromMainWindow);
// Puts the placeholder back into every open protected note, or into the one given.
void MaskProtectedNotes(CWindowController& app, CNoteController* note);

// The passwords typed for protected notes in this run.
struct SessionPassword {
    SessionPassword* next;
    char digest[101];
};
struct SessionPasswordList {
    SessionPassword* head = nullptr;
    int count = 0;
};
SessionPasswordList& SessionPasswords();
// Frees every remembered password (the Security page's "forget" and the exit).
void ForgetSessionPasswords();
