// What the hotkeys page tells the user about a combination already in use:
// groups may share one (a warning), action hotkeys never (an error).
#include <gtest/gtest.h>

#include "shell/bytes/HotkeyClashText.h"

TEST(HotkeyClashText, GroupsMayShareACombinationActionHotkeysMayNot)
{
    bool warning = false;
    EXPECT_EQ(GroupClashText(" Alt+Shift+Page up", "Work", true, "Home", &warning),
              "The hotkey combination (Alt+Shift+Pageup) you've selected for the 'Work' group\r\n"
              "  is already used for the 'Home' group.\r\n\r\n"
              "If this is what you want then it's ok, but usually each group uses a different \r\n"
              "  hotkey combination.");
    EXPECT_TRUE(warning);

    // A one-letter group and an action hotkey are told to choose another.
    EXPECT_EQ(GroupClashText(" Alt+Shift+G", "W", true, "Home", &warning),
              "The hotkey combination (Alt+Shift+G) you've selected for the 'W' hotkey\r\n"
              "  is already used for the 'Home' group.\r\n\r\n"
              " Please make sure that you choose different hotkey combinations.");
    EXPECT_FALSE(warning);
    EXPECT_EQ(GroupClashText(" Ctrl+Alt+N", "New note", false, "Home", &warning),
              "The hotkey combination (Ctrl+Alt+N) you've selected for the 'New note' hotkey\r\n"
              "  is already used for the 'Home' group.\r\n\r\n"
              " Please make sure that you choose different hotkey combinations.");
    EXPECT_FALSE(warning);

    EXPECT_EQ(ActionClashText(" Alt+Shift+F", "New note", false, "Find text"),
              "The hotkey combination (Alt+Shift+F) you've selected for \r\n"
              "  'New note' is already in use for the 'Find text' hotkey.\r\n\r\n"
              " Please make sure that you choose different hotkey combinations.");
    EXPECT_EQ(ActionClashText(" Alt+Shift+1", "Work", true, "Style 1"),
              "The hotkey combination (Alt+Shift+1) you've selected for the group\r\n"
              "  'Work' is already in use for the 'Style 1' hotkey.\r\n\r\n"
              " Please make sure that you choose different hotkey combinations.");
}
