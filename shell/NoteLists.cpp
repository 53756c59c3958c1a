#include "shell/NoteLists.h"

#include "note/NoteWindow.h"

CNoteController* FirstShownNote(const CPtrList& list)
{
    CNoteController* found = nullptr;
    ForEachNote(list, [&](CNoteController* note) {
        if (note->m_hidden)
            return true;
        found = note;
        return false;
    });
    return found;
}

void CloseListedNote(CPtrList& list, CNoteController* note)
{
    list.DeleteElem(note);
    if (note->m_window)
        SendMessageA(note->m_window, WM_CLOSE, 0, 0);
    else
        delete note;
}

void CloseAllNotes(CPtrList& list)
{
    CNotesClosingTogether together;
    // The active note goes last: were it closed first, each next note would
    // be made active in turn only to be closed.
    const HWND active = GetActiveWindow();
    CNoteController* activeNote = nullptr;
    ForEachNote(list, [&](CNoteController* note) {
        if (active && note->m_window == active)
            activeNote = note;
        else
            CloseListedNote(list, note);
        return true;
    });
    if (activeNote)
        CloseListedNote(list, activeNote);
}
