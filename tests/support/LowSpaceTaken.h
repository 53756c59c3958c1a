#pragma once

#include <windows.h>

// Every Windows program the tests start runs as 64-bit Windows usually places
// a program's memory: its heaps, the stacks of its later threads and what it
// allocates lie above 4 GB, where a pointer put through 32 bits breaks at once.
// Under Wine they lie below, so the address space below 4 GB is taken before
// the program runs its first instruction. What Wine maps before that (the
// image, ntdll, the process and first thread blocks, the shared user page, the
// first thread's stack) and what Wine's own loader holds stay low
// (docs/platform.md).

// Starts the program as CreateProcessA does with no handles inherited, and
// takes the address space below 4 GB of a 64-bit program before it runs; with
// a job, the program is in it from its first instruction. Its process and
// first thread are in `started`; false, with the last error set, when it could
// not be started.
bool StartWithLowSpaceTaken(const char* application, char* commandLine, const char* folder,
                            PROCESS_INFORMATION& started, HANDLE job = nullptr);

// The address where 64-bit Windows usually begins a program's memory.
const unsigned long long kLowSpaceEnd = 0x100000000ull;
