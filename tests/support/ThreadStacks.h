#pragma once

#include <windows.h>

// Where the threads of a test program, or of a program it started, wait: for
// the report of a test program that hangs.

// Prints the thread's calls, newest first, each on a line after the indent:
// the words of its stack that look like return addresses (which is what a
// release build without frame pointers allows), named by function where the
// test program's symbols tell it, else by module and offset. The thread may
// belong to another process.
void PrintWhereThreadWaits(HANDLE process, DWORD processId, HANDLE thread, const char* indent);

// The same for every thread of the process but the calling one, each headed
// by its id.
void PrintWhereThreadsWait(HANDLE process, DWORD processId, const char* indent);
