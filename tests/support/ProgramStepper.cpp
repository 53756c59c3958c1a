#include "support/ProgramStepper.h"

#include <cstring>

namespace {
// After the shortest moment (let go and held again at once), the first
// moment that lasts, and the longest, in microseconds.
const LONGLONG kFirstTimedMoment = 10;
const LONGLONG kLongestMoment = 4000;

LONGLONG PerformanceNow()
{
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}
}

ProgramStepper::ProgramStepper(DWORD threadId)
{
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    m_ticksPerSecond = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    m_thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | SYNCHRONIZE, FALSE, threadId);
    m_held = m_thread && HoldStill(m_place);
}

ProgramStepper::~ProgramStepper()
{
    if (!m_thread)
        return;
    if (m_held)
        ResumeThread(m_thread);
    CloseHandle(m_thread);
}

bool ProgramStepper::HoldStill(CONTEXT& place)
{
    if (SuspendThread(m_thread) == static_cast<DWORD>(-1))
        return false;
    // A suspension takes effect only some time after the call returns; the
    // context can be read only once the thread has stopped.
    std::memset(&place, 0, sizeof place);
    place.ContextFlags = CONTEXT_CONTROL;
    if (GetThreadContext(m_thread, &place))
        return true;
    ResumeThread(m_thread);
    return false;
}

bool ProgramStepper::RunAMoment(LONGLONG ticks)
{
    ResumeThread(m_thread);
    const LONGLONG start = PerformanceNow();
    while (PerformanceNow() - start < ticks)
        SwitchToThread();
    CONTEXT place;
    m_held = HoldStill(place);
    const bool moved = m_held && std::memcmp(&place, &m_place, sizeof place) != 0;
    if (m_held)
        m_place = place;
    return moved;
}

bool ProgramStepper::Step()
{
    if (m_held && RunAMoment(0))
        return true;
    for (LONGLONG moment = kFirstTimedMoment; m_held && moment <= kLongestMoment; moment *= 2) {
        if (RunAMoment(moment * m_ticksPerSecond / 1000000))
            break;
    }
    return m_held;
}
