// The calendar's hotkey set on the Settings sheet of the running program: it
// is kept in the calendar's settings file and held again after a restart.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsSheetDriving.h"
#include "resources/ids/HotkeysPageIds.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/TempFolder.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"

namespace {
// The calendar options' hotkey in the settings file: Ctrl, Alt, Shift, key.
std::string StoredCalendarHotkey(const std::string& path)
{
    const std::string text = ReadWholeFile(path);
    CXMLBufferDocument document;
    document.SetBuffer(text.data(), static_cast<int32_t>(text.size()), "calendar.QPD");
    if (!document.Parse())
        return "(unreadable)";
    std::string keys;
    for (const char* key : {"hotkeyCtrl", "hotkeyAlt", "hotkeyShift", "hotkeyKey"}) {
        char value[32] = "";
        char error[256];
        document.GetValue("content", "options", 1, key, value, sizeof value, error, sizeof error);
        keys += keys.empty() ? value : std::string(" ") + value;
    }
    return keys;
}
}

TEST(CalendarHotkey, SetOnTheSettingsSheetItIsKeptAndHeldAfterARestart)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    {
        RunningProgram program(install, "");
        HWND sheet = nullptr;
        HWND page = OpenSettingsPage(program, 2, &sheet);
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'T')) << "the calendar's standard keys are held";
        EXPECT_EQ(PageItemText(page, IDC_HOTKEYS_CALENDAR_KEYS), " Alt+Shift+T");

        PostPageClick(page, IDC_HOTKEYS_CALENDAR_KEYS);
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", "Calendar...", program.ProcessId())); }));
        ChooseHotkey(dialog, true, true, false, "K");
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_EQ(PageItemText(page, IDC_HOTKEYS_CALENDAR_KEYS), " Ctrl+Alt+K");
        ASSERT_TRUE(PressSheetOk(sheet));
        const std::string path = install.File("calendar.QPD");
        EXPECT_TRUE(WaitUntil([&] { return StoredCalendarHotkey(path) == "1 1 0 75"; }));
        EXPECT_TRUE(WaitUntil([] { return HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'T'); }));
        EXPECT_TRUE(WaitUntil([] { return !HotkeyCombinationIsFree(MOD_CONTROL | MOD_ALT, 'K'); }));
        CloseProgram(install, program);
    }
    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    // The start may answer before it has taken its hotkeys.
    EXPECT_TRUE(WaitUntil([] { return !HotkeyCombinationIsFree(MOD_CONTROL | MOD_ALT, 'K'); }));
    EXPECT_TRUE(HotkeyCombinationIsFree(MOD_ALT | MOD_SHIFT, 'T'));
    EXPECT_EQ(StoredCalendarHotkey(install.File("calendar.QPD")), "1 1 0 75");
    CloseProgram(install, again);
}
