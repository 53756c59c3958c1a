#include "support/LockProbe.h"

namespace {
DWORD WINAPI TryLock(void* lock)
{
    auto* section = static_cast<CRITICAL_SECTION*>(lock);
    if (!TryEnterCriticalSection(section))
        return 0;
    LeaveCriticalSection(section);
    return 1;
}
}

bool LockFreeForOthers(CRITICAL_SECTION& lock)
{
    HANDLE probe = CreateThread(nullptr, 0, &TryLock, &lock, 0, nullptr);
    DWORD free = 0;
    if (probe && WaitForSingleObject(probe, 10000) == WAIT_OBJECT_0)
        GetExitCodeThread(probe, &free);
    if (probe)
        CloseHandle(probe);
    return free == 1;
}
