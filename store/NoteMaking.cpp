#include "store/NoteMaking.h"

namespace {
NoteMaker g_maker = nullptr;
}

void SetNoteMaker(NoteMaker maker)
{
    g_maker = maker;
}

CNoteController* MakeNote(const NoteDescription& description)
{
    return g_maker ? g_maker(description) : nullptr;
}
