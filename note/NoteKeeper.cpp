#include "note/NoteKeeper.h"

#include "foundation/PtrList.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"

namespace {
INoteKeeper* g_keeper = nullptr;
}

void SetNoteKeeper(INoteKeeper* keeper)
{
    g_keeper = keeper;
}

INoteKeeper* GetNoteKeeper()
{
    return g_keeper;
}

bool IsLiveNote(const CNoteController* note, HWND window)
{
    if (!note)
        return false;
    // Without a keeper (a program that keeps its notes as records alone)
    // the window alone tells.
    if (!g_keeper)
        return !window || IsWindow(window);
    // Only a note found on a list is read: its window tells a note made since
    // at the same address from the one that was asked about.
    const bool listed = g_keeper->OwnNotes().Contains(const_cast<CNoteController*>(note)) ||
                        g_keeper->OtherNotes().Contains(const_cast<CNoteController*>(note)) ||
                        DeletedNotesList().Contains(const_cast<CNoteController*>(note));
    return listed && (!window || note->m_window == window);
}
