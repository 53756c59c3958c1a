#include "foundation/win/SystemLibraries.h"

#include <winsock.h>
#include <shlwapi.h>

#include <cstdio>

#include "foundation/bytes/MessageBoxes.h"

namespace {
WSADATA g_winsock = {};
}

bool GetDllVersion(const char* library, DWORD* major, DWORD* minor)
{
    HMODULE module = LoadLibraryA(library);
    if (!module)
        return false;
    bool known = false;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(module, "DllGetVersion"));
    if (getVersion) {
        DLLVERSIONINFO version = {};
        version.cbSize = sizeof version;
        if (SUCCEEDED(getVersion(&version))) {
            *major = version.dwMajorVersion;
            *minor = version.dwMinorVersion;
            known = true;
        }
    }
    FreeLibrary(module);
    return known;
}

bool InitWinsock()
{
    if (WSAStartup(MAKEWORD(1, 1), &g_winsock) == 0)
        return true;
    g_winsock.wVersion = 0;
    g_winsock.wHighVersion = 0;
    ShowErrorMessage(nullptr, "WSAStartup failed ! \r\n the TCP/IP library could not be loaded", ProgramTitle);
    return false;
}

void GetWinsockDescription(char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return;
    std::snprintf(buffer, size < 100 ? size : 100, "%.*s - %.*s", WSASYS_STATUS_LEN, g_winsock.szSystemStatus,
                  WSADESCRIPTION_LEN, g_winsock.szDescription);
}
