#include "shell/NoteLists.h"

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

void CloseAllNotes(CPtrList& list)
{
    ForEachNote(list, [&](CNoteController* note) {
        list.DeleteElem(note);
        if (note->m_window)
            SendMessageA(note->m_window, WM_CLOSE, 0, 0);
        else
            delete note;
        return true;
    });
}
