#pragma once

#include <windows.h>

// The performance counter, read by every benchmark.
inline LARGE_INTEGER BenchNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

inline double SecondsBetween(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}
