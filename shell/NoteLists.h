#pragma once

#include "foundation/PtrList.h"
#include "note/NoteController.h"

// The application object's lists of note objects, walked with the note type.

// Notes are kept newest first.
inline const CDateTime& RecordDateTime(const CNoteController& note)
{
    return note.m_created;
}

inline CNoteController* FirstNote(const CPtrList& list)
{
    return static_cast<CNoteController*>(list.GetFirst());
}
inline CNoteController* NextNote(const CPtrList& list, CNoteController* note)
{
    return static_cast<CNoteController*>(list.GetNext(note));
}

// Walks the list (bounded by its count, so a list changed by the visitor
// cannot loop); the visitor returns false to stop.
template <class Visitor>
void ForEachNote(const CPtrList& list, Visitor visit)
{
    DWORD count = list.GetCount();
    CNoteController* note = FirstNote(list);
    for (DWORD i = 0; note && i < count; ++i) {
        CNoteController* next = NextNote(list, note);
        if (!visit(note))
            return;
        note = next;
    }
}

// The first note that is not hidden; null when there is none.
CNoteController* FirstShownNote(const CPtrList& list);
// Takes every note off the list and closes it: a note with a window is sent
// WM_CLOSE (the window frees it); a note without one is freed here.
void CloseAllNotes(CPtrList& list);
// The same for one note of the list.
void CloseListedNote(CPtrList& list, CNoteController* note);
