#pragma once

#include <windows.h>

// Versions of system libraries and the start of Winsock.

// Loads the library and asks its DllGetVersion; false when the library, the entry
// point or the call fails. The library is freed again.
bool GetDllVersion(const char* library, DWORD* major, DWORD* minor);

// WSAStartup for Winsock 1.1 into the program's WSADATA; a failure clears its
// version words and is shown. The caller ends Winsock with WSACleanup.
bool InitWinsock();
// "<system status> - <description>" of the WSADATA, at most 99 characters.
void GetWinsockDescription(char* buffer, size_t size);
