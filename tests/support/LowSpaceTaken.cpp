#include "support/LowSpaceTaken.h"

namespace {
#ifdef _WIN64
// Reserves [base, end) in the process, in as few pieces as it takes: what
// Wine's own loader holds there (the loader's image and its Unix heap) is
// refused, one allocation granule at a time, and left.
void ReserveLowRange(HANDLE process, ULONG_PTR base, ULONG_PTR end, ULONG_PTR granule)
{
    if (VirtualAllocEx(process, reinterpret_cast<void*>(base), end - base, MEM_RESERVE, PAGE_NOACCESS) ||
        end - base <= granule)
        return;
    const ULONG_PTR middle = base + ((end - base) / 2 & ~(granule - 1));
    ReserveLowRange(process, base, middle, granule);
    ReserveLowRange(process, middle, end, granule);
}

// Every free range below 4 GB of the process reserved, from the granule up.
void TakeLowSpace(HANDLE process)
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const ULONG_PTR granule = system.dwAllocationGranularity;
    auto address = reinterpret_cast<ULONG_PTR>(system.lpMinimumApplicationAddress);
    MEMORY_BASIC_INFORMATION region;
    while (address < kLowSpaceEnd &&
           VirtualQueryEx(process, reinterpret_cast<void*>(address), &region, sizeof region) == sizeof region) {
        const auto start = reinterpret_cast<ULONG_PTR>(region.BaseAddress);
        const ULONG_PTR end = start + region.RegionSize < kLowSpaceEnd ? start + region.RegionSize : kLowSpaceEnd;
        const ULONG_PTR base = (start + granule - 1) & ~(granule - 1);
        if (region.State == MEM_FREE && base < end)
            ReserveLowRange(process, base, end, granule);
        address = start + region.RegionSize;
    }
}

// A 32-bit program started from a 64-bit one has no space above 4 GB.
bool RunsAs64Bit(HANDLE process)
{
    BOOL emulated = FALSE;
    return IsWow64Process(process, &emulated) && !emulated;
}
#endif
}

bool StartWithLowSpaceTaken(const char* application, char* commandLine, const char* folder,
                            PROCESS_INFORMATION& started, HANDLE job)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(application, commandLine, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, folder,
                        &startup, &started))
        return false;
    if (job && !AssignProcessToJobObject(job, started.hProcess)) {
        const DWORD error = GetLastError();
        TerminateProcess(started.hProcess, 1);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
        SetLastError(error);
        return false;
    }
#ifdef _WIN64
    if (RunsAs64Bit(started.hProcess))
        TakeLowSpace(started.hProcess);
#endif
    ResumeThread(started.hThread);
    return true;
}
