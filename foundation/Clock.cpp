#include "foundation/Clock.h"

#include <mutex>

namespace {
std::mutex g_lock;
bool g_fixed = false;
SYSTEMTIME g_fixedTime;
}

SYSTEMTIME GetLocalNow()
{
    {
        std::lock_guard<std::mutex> guard(g_lock);
        if (g_fixed)
            return g_fixedTime;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

void SetClockOverride(const SYSTEMTIME* fixedTime)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_fixed = fixedTime != nullptr;
    if (fixedTime)
        g_fixedTime = *fixedTime;
}
