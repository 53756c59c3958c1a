#include "note/NoteKeeper.h"

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
