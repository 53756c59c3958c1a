#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <vector>

// The GDI objects a process holds, asked from outside so that a benchmark can
// see whether the program's paints leave any behind. Windows answers
// GetGuiResources; Wine answers 0 there, so under Wine the live entries of the
// process's GDI handle table are counted instead: its address is in the
// process's PEB (GdiSharedHandleTable: a pointer, at 0x94 in a 32-bit PEB and
// at 0xF8 in a 64-bit one, read as wide as this program's pointers, which are
// the benchmarked program's), and each entry of Wine's table takes 24 bytes
// in both, its type byte (at 14) non-zero while the object lives. -1 when
// neither can be read.
inline long GdiObjectCount(HANDLE process)
{
    const DWORD answered = GetGuiResources(process, GR_GDIOBJECTS);
    if (answered)
        return static_cast<long>(answered);
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query =
        reinterpret_cast<QueryProcess>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess"));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return -1;
    const size_t kTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const size_t kEntries = 65536, kEntrySize = 24, kTypeOffset = 14;
    ULONG_PTR table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kTableOffset, &table,
                           sizeof table, &read) ||
        !table)
        return -1;
    std::vector<uint8_t> entries(kEntries * kEntrySize);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size(), &read) ||
        read != entries.size())
        return -1;
    long live = 0;
    for (size_t i = 0; i < kEntries; ++i)
        live += entries[i * kEntrySize + kTypeOffset] ? 1 : 0;
    return live;
}
