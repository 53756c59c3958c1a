#include "foundation/Clock.h"

#include "foundation/CriticalSectionLock.h"

namespace {
// Made on first use, so that a static object asking for the time at start-up
// finds it ready.
CCriticalSection& Lock()
{
    static CCriticalSection lock;
    return lock;
}
bool g_fixed = false;
SYSTEMTIME g_fixedTime;
}

SYSTEMTIME GetLocalNow()
{
    {
        CCriticalSectionLock guard(Lock());
        if (g_fixed)
            return g_fixedTime;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

void SetClockOverride(const SYSTEMTIME* fixedTime)
{
    CCriticalSectionLock guard(Lock());
    g_fixed = fixedTime != nullptr;
    if (fixedTime)
        g_fixedTime = *fixedTime;
}
