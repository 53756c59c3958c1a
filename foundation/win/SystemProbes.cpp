#include "foundation/win/SystemProbes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/win/RegistryString.h"
#include "foundation/win/SystemLibraries.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
const char kThemeManagerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
const char kDesktopKey[] = "Control Panel\\Desktop";

bool HoldsNumberAboveZero(const char* text)
{
    return std::strtol(text, nullptr, 10) > 0;
}
}

void ApplyWindowsVersion(const OSVERSIONINFOA& reported, WindowsVersionInfo& version)
{
    version.major = reported.dwMajorVersion;
    version.minor = reported.dwMinorVersion;
    version.isWindows2000 = version.isWindowsXp = version.isVistaOrLater = false;
    if (reported.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        std::snprintf(version.platformName, sizeof version.platformName, "Windows NT");
        if (reported.dwMajorVersion == 5) {
            version.isWindows2000 = reported.dwMinorVersion == 0;
            version.isWindowsXp = reported.dwMinorVersion != 0;
        }
        // Every later Windows keeps what Vista brought (composition, the
        // VirtualStore, the newer close button), so they are treated alike.
        version.isVistaOrLater = reported.dwMajorVersion >= 6;
    } else if (reported.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        std::snprintf(version.platformName, sizeof version.platformName,
                      reported.dwMinorVersion != 0 ? "Windows 98" : "Windows 95");
    }
}

void DetectWindowsVersion()
{
    WindowsVersionInfo& version = GetStartupValues().windows;
    OSVERSIONINFOA reported = {};
    reported.dwOSVersionInfoSize = sizeof reported;
    if (GetVersionExA(&reported))
        ApplyWindowsVersion(reported, version);
    if (!GetDllVersion("comctl32.dll", &version.commonControlsMajor, &version.commonControlsMinor))
        ShowErrorMessage(nullptr, "Could not determine the version\r\n of the comctl32.dll library ", ProgramTitle);
}

bool ReadFileVersionOf(const char* path, WORD version[4])
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return false;
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    char root[] = "\\";
    if (!GetFileVersionInfoA(path, 0, size, block.data()) ||
        !VerQueryValueA(block.data(), root, reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    version[0] = HIWORD(fixed->dwFileVersionMS);
    version[1] = LOWORD(fixed->dwFileVersionMS);
    version[2] = HIWORD(fixed->dwFileVersionLS);
    version[3] = LOWORD(fixed->dwFileVersionLS);
    return true;
}

bool ReadFileVersion()
{
    char path[MAX_PATH + 1] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    return ReadFileVersionOf(path, GetStartupValues().fileVersion);
}

int GetXpColorScheme()
{
    CRegistryKey key(HKEY_CURRENT_USER, kThemeManagerKey);
    if (!key.Open(KEY_READ))
        return 0;
    char text[MAX_PATH];
    if (ReadRegistryString(key, "ThemeActive", text, sizeof text) != RegistryStringRead::kRead ||
        !HoldsNumberAboveZero(text))
        return 0;
    switch (ReadRegistryString(key, "ColorName", text, sizeof text)) {
    case RegistryStringRead::kMissing:
    case RegistryStringRead::kNotString:
        return 1;
    case RegistryStringRead::kTooLong:
        return 0;
    case RegistryStringRead::kRead:
        break;
    }
    if (lstrcmpiA(text, "NormalColor") == 0)
        return 1;
    if (lstrcmpiA(text, "HomeStead") == 0)
        return 2;
    if (lstrcmpiA(text, "Metallic") == 0)
        return 3;
    return 0;
}

int ReadCompositionState(const char* libraryName)
{
    using IsEnabledEntry = HRESULT(WINAPI*)(BOOL*);
    using ColorizationEntry = HRESULT(WINAPI*)(DWORD*, BOOL*);
    HMODULE library = LoadLibraryA(libraryName);
    if (!library)
        return 0;
    auto isEnabled = reinterpret_cast<IsEnabledEntry>(GetProcAddress(library, "DwmIsCompositionEnabled"));
    auto colorization = reinterpret_cast<ColorizationEntry>(GetProcAddress(library, "DwmGetColorizationColor"));
    int state = 0;
    BOOL enabled = FALSE;
    DWORD colour = 0;
    BOOL opaqueBlend = FALSE;
    if (isEnabled && colorization && SUCCEEDED(isEnabled(&enabled)) && enabled &&
        SUCCEEDED(colorization(&colour, &opaqueBlend)))
        state = opaqueBlend ? 1 : 2;
    FreeLibrary(library);
    return state;
}

int LoadDwmFunctions()
{
    return ReadCompositionState("dwmapi.dll");
}

bool ProbeLayeredWindows(const char* libraryName)
{
    HMODULE library = LoadLibraryA(libraryName);
    if (!library)
        return false;
    const bool offered = GetProcAddress(library, "SetLayeredWindowAttributes") != nullptr;
    FreeLibrary(library);
    return offered;
}

void DisableDragFullWindows()
{
    CRegistryKey key(HKEY_CURRENT_USER, kDesktopKey);
    if (!key.Open(KEY_READ | KEY_SET_VALUE))
        return;
    char text[MAX_PATH];
    if (ReadRegistryString(key, "DragFullWindows", text, sizeof text) == RegistryStringRead::kRead &&
        HoldsNumberAboveZero(text))
        key.SetStringValue("DragFullWindows", "0");
}
