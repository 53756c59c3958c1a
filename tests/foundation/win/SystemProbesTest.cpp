#include <windows.h>

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "foundation/win/SystemProbes.h"
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

void SetText(const char* keyPath, const char* name, const char* text)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
}

void SetNumber(const char* keyPath, const char* name, DWORD value)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void Remove(const char* keyPath, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_ALL_ACCESS, &key) == 0) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

std::string ReadText(const char* keyPath, const char* name)
{
    char text[64] = "";
    DWORD size = sizeof text;
    DWORD type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) == 0) {
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
    }
    return type == REG_SZ ? text : "(not text)";
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
    Remove(kThemeManager, "ThemeActive");
    Remove(kThemeManager, "ColorName");
    EXPECT_EQ(GetXpColorScheme(), 0);
    SetText(kThemeManager, "ThemeActive", "0");
    SetText(kThemeManager, "ColorName", "Metallic");
    EXPECT_EQ(GetXpColorScheme(), 0) << "no visual style active";

    SetText(kThemeManager, "ThemeActive", "1");
    const std::pair<std::string, int> schemes[] = {
        {"Metallic", 3}, {"homestead", 2}, {"NormalColor", 1}, {"Royale", 0}, {std::string(400, 'x'), 0}};
    for (const auto& scheme : schemes) {
        SetText(kThemeManager, "ColorName", scheme.first.c_str());
        EXPECT_EQ(GetXpColorScheme(), scheme.second) << scheme.first;
    }
    Remove(kThemeManager, "ColorName");
    EXPECT_EQ(GetXpColorScheme(), 1);
    SetNumber(kThemeManager, "ThemeActive", 1);
    EXPECT_EQ(GetXpColorScheme(), 0) << "ThemeActive must be a string";
    Remove(kThemeManager, "ThemeActive");
}

TEST(SystemProbes, CompositionIsOffWithoutTheLibrary)
{
    EXPECT_EQ(ReadCompositionState("QuillnetNoSuchLibrary.dll"), 0);
    EXPECT_EQ(ReadCompositionState("kernel32.dll"), 0) << "a library without the entry points";
}

TEST(SystemProbes, DragFullWindowsIsTurnedOffOnlyWhenOn)
{
    MessageBoxRecorder boxes;
    SetText(kDesktop, "DragFullWindows", "1");
    DisableDragFullWindows();
    EXPECT_EQ(ReadText(kDesktop, "DragFullWindows"), "0");
    DisableDragFullWindows();
    EXPECT_EQ(ReadText(kDesktop, "DragFullWindows"), "0");
    SetNumber(kDesktop, "DragFullWindows", 1);
    DisableDragFullWindows();
    EXPECT_EQ(ReadText(kDesktop, "DragFullWindows"), "(not text)");
    Remove(kDesktop, "DragFullWindows");
    EXPECT_EQ(boxes.Count(), 0u);
}
