#include <windows.h>

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "foundation/win/SystemProbes.h"
#include "support/RegistryValues.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const char kThemeManager[] = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
const char kDesktop[] = "Control Panel\\Desktop";

OSVERSIONINFOA Reported(DWORD platform, DWORD major, DWORD minor)
{
    OSVERSIONINFOA reported = {};
    reported.dwOSVersionInfoSize = sizeof reported;
    reported.dwPlatformId = platform;
    reported.dwMajorVersion = major;
    reported.dwMinorVersion = minor;
    return reported;
}
}

TEST(SystemProbes, VersionFlagsOfEachFamily)
{
    struct {
        DWORD platform, major, minor;
        const char* name;
        bool windows2000, xp, vistaOrLater;
    } cases[] = {
        {VER_PLATFORM_WIN32_NT, 5, 1, "Windows NT", false, true, false},
        {VER_PLATFORM_WIN32_NT, 5, 0, "Windows NT", true, false, false},
        {VER_PLATFORM_WIN32_NT, 6, 0, "Windows NT", false, false, true},
        {VER_PLATFORM_WIN32_NT, 10, 0, "Windows NT", false, false, true},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, "Windows 98", false, false, false},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, "Windows 95", false, false, false},
    };
    for (const auto& c : cases) {
        WindowsVersionInfo version;
        ApplyWindowsVersion(Reported(c.platform, c.major, c.minor), version);
        EXPECT_STREQ(version.platformName, c.name) << c.major << "." << c.minor;
        EXPECT_EQ(version.isWindows2000, c.windows2000) << c.major << "." << c.minor;
        EXPECT_EQ(version.isWindowsXp, c.xp) << c.major << "." << c.minor;
        EXPECT_EQ(version.isVistaOrLater, c.vistaOrLater) << c.major << "." << c.minor;
    }
}

TEST(SystemProbes, TheRunningSystemAndFileVersions)
{
    DetectWindowsVersion();
    EXPECT_STREQ(GetStartupValues().windows.platformName, "Windows NT");
    EXPECT_GE(GetStartupValues().windows.commonControlsMajor, 5u);

    WORD version[4] = {};
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    EXPECT_TRUE(ReadFileVersionOf((std::string(system) + "\\comctl32.dll").c_str(), version));
    EXPECT_GT(version[0], 0);
    // The test program carries no version resource.
    EXPECT_FALSE(ReadFileVersion());
    EXPECT_FALSE(ReadFileVersionOf("C:\\no\\such\\file.exe", version));
}

TEST(SystemProbes, XpColourSchemes)
{
    RemoveRegistryValue(HKEY_CURRENT_USER, kThemeManager, "ThemeActive");
    RemoveRegistryValue(HKEY_CURRENT_USER, kThemeManager, "ColorName");
    EXPECT_EQ(GetXpColorScheme(), 0);
    SetRegistryText(HKEY_CURRENT_USER, kThemeManager, "ThemeActive", "0");
    SetRegistryText(HKEY_CURRENT_USER, kThemeManager, "ColorName", "Metallic");
    EXPECT_EQ(GetXpColorScheme(), 0) << "no visual style active";

    SetRegistryText(HKEY_CURRENT_USER, kThemeManager, "ThemeActive", "1");
    const std::pair<std::string, int> schemes[] = {
        {"Metallic", 3}, {"homestead", 2}, {"NormalColor", 1}, {"Royale", 0}, {std::string(400, 'x'), 0}};
    for (const auto& scheme : schemes) {
        SetRegistryText(HKEY_CURRENT_USER, kThemeManager, "ColorName", scheme.first);
        EXPECT_EQ(GetXpColorScheme(), scheme.second) << scheme.first;
    }
    RemoveRegistryValue(HKEY_CURRENT_USER, kThemeManager, "ColorName");
    EXPECT_EQ(GetXpColorScheme(), 1);
    SetRegistryNumber(HKEY_CURRENT_USER, kThemeManager, "ThemeActive", 1);
    EXPECT_EQ(GetXpColorScheme(), 0) << "ThemeActive must be a string";
    RemoveRegistryValue(HKEY_CURRENT_USER, kThemeManager, "ThemeActive");
}

TEST(SystemProbes, CompositionIsOffWithoutTheLibrary)
{
    EXPECT_EQ(ReadCompositionState("QuillnetNoSuchLibrary.dll"), 0);
    EXPECT_EQ(ReadCompositionState("kernel32.dll"), 0) << "a library without the entry points";
}

TEST(SystemProbes, DragFullWindowsIsTurnedOffOnlyWhenOn)
{
    MessageBoxRecorder boxes;
    SetRegistryText(HKEY_CURRENT_USER, kDesktop, "DragFullWindows", "1");
    DisableDragFullWindows();
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kDesktop, "DragFullWindows"), "0");
    DisableDragFullWindows();
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kDesktop, "DragFullWindows"), "0");
    SetRegistryNumber(HKEY_CURRENT_USER, kDesktop, "DragFullWindows", 1);
    DisableDragFullWindows();
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kDesktop, "DragFullWindows"), "(not text)");
    RemoveRegistryValue(HKEY_CURRENT_USER, kDesktop, "DragFullWindows");
    EXPECT_EQ(boxes.Count(), 0u);
}
