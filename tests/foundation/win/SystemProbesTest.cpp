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

TEST(SystemProbes, LayeredWindowsAreThereOnlyWithTheirEntryPoint)
{
    EXPECT_TRUE(ProbeLayeredWindows("user32.dll"));
    EXPECT_FALSE(ProbeLayeredWindows("kernel32.dll")) << "a library without the entry point";
    EXPECT_FALSE(ProbeLayeredWindows("QuillnetNoSuchLibrary.dll"));
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
