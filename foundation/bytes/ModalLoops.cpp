#include "foundation/bytes/ModalLoops.h"

namespace {
thread_local unsigned t_depth = 0;
}

CModalLoop::CModalLoop()
{
    ++t_depth;
}

CModalLoop::~CModalLoop()
{
    --t_depth;
}

unsigned ModalLoopDepth()
{
    return t_depth;
}
