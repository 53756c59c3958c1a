#include "noteprops/ProtectedNotes.h"

#include "note/NoteController.h"

// No note can be unlocked in this version, so an open protected note never
// shows its text and there is no placeholder to put back.

int OpenProtectedNote(CWindowController&, CNoteController& note)
{
    return note.IsLocked() ? kProtectedNoteStaysLocked : kProtectedNoteNotLocked;
}

int AskProtectedNotePassword(CWindowController&, int, CNoteController&, int)
{
    return 0;
}

void MaskProtectedNotes(CWindowController&, CNoteController*)
{
}

SessionPasswordList& SessionPasswords()
{
    static SessionPasswordList list;
    return list;
}

void ForgetSessionPasswords()
{
    SessionPasswordList& list = SessionPasswords();
    while (SessionPassword* node = list.head) {
        list.head = node->next;
        delete node;
    }
    list.count = 0;
}
