// What start-up loads into the global buffers: texts, choices, menu fonts,
// cursors and the close button, and what a module without them reports.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/win/BackgroundPainting.h"
#include "globals/GlobalTexts.h"
#include "globals/ProgramGlobals.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
BOOL WINAPI FakeGradientFill(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG)
{
    return TRUE;
}
}

TEST(GlobalTexts, TextsAndChoicesComeFromTheStringTable)
{
    InitGlobalStrings();
    const CGlobalTexts& texts = GlobalTexts();
    EXPECT_STREQ(texts.alarmNoteTip, "Left click to stop alarm\r\nRight click to change");
    EXPECT_STREQ(texts.endChat, "End and delete chat");

    GradientFillFunction previous = GetGradientFillFunction();
    const char* const kinds[6] = {"Plain colour",      "Horizontal gradient",    "Vertical gradient",
                                  "Diagonal gradient", "Image (.BMP .JPG .GIF)", "Transparent"};
    for (bool gradients : {true, false}) {
        SetGradientFillFunction(gradients ? &FakeGradientFill : nullptr);
        LoadSnoozeChoices(GetModuleHandleA(nullptr));
        const CSnoozeChoices& choices = SnoozeChoices();
        for (int i = 0; i < 6; ++i) {
            std::string expected = kinds[i];
            if (!gradients && i >= 1 && i <= 3)
                expected += " (disabled)";
            EXPECT_EQ(std::string(choices.backgroundKinds[i]), expected);
        }
    }
    SetGradientFillFunction(previous);
    const CSnoozeChoices& choices = SnoozeChoices();
    const char* const periods[12] = {"5 minutes", "15 minutes", "30 minutes", "1 hour",    "3 hours", "7 hours",
                                     "12 hours",  "1 day",      "3 days",     "1 weekday", "1 week",  "1 month"};
    for (int i = 0; i < 12; ++i)
        EXPECT_STREQ(choices.periods[i], periods[i]);
    EXPECT_STREQ(choices.singularUnits[0], " ");
    EXPECT_STREQ(choices.pluralUnits[6], "weekdays");
    EXPECT_STREQ(choices.listUnits[4], "week(s)");
    EXPECT_STREQ(choices.marginKinds[4], "Double continuous");
}

TEST(GlobalTexts, MenuFontsCursorsAndTheCloseButton)
{
    CreateMenuFonts();
    ASSERT_NE(MenuFont().GetHFONT(), nullptr);
    ASSERT_NE(BoldMenuFont().GetHFONT(), nullptr);
    EXPECT_EQ(MenuFont().GetLogFont().lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(BoldMenuFont().GetLogFont().lfWeight, FW_BOLD);
    EXPECT_STREQ(BoldMenuFont().GetLogFont().lfFaceName, MenuFont().GetLogFont().lfFaceName);

    MessageBoxRecorder boxes;
    LoadCursorsAndBitmaps(GetModuleHandleA(nullptr));
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    const CProgramCursors& cursors = ProgramCursors();
    for (HCURSOR cursor : {cursors.arrow, cursors.ibeam, cursors.wait, cursors.note, cursors.http, cursors.mail,
                           cursors.pointer, cursors.gradient, cursors.vertical, cursors.reset})
        EXPECT_NE(cursor, nullptr);
    ASSERT_NE(cursors.closeButton, nullptr);
    EXPECT_EQ(cursors.closeButtonWidth, 16);
    EXPECT_EQ(cursors.closeButtonHeight, 14);
    ReleaseCursorsAndBitmaps();
    EXPECT_EQ(cursors.http, nullptr);
    EXPECT_EQ(cursors.closeButton, nullptr);

    // A module without the program's resources: every failure is reported, and
    // loading goes on.
    LoadCursorsAndBitmaps(GetModuleHandleA("kernel32.dll"));
    for (const char* text : {"Loading IDC_CURSOR_HTTP failed", "Loading IDC_CURSOR_MAIL failed",
                             "Loading IDC_CURSOR2 failed ", "Loading IDC_CURSOR_GRADIENT failed",
                             "Loading IDC_CURSOR_RESET failed", "Loading IDB_CLOSE98"})
        EXPECT_TRUE(boxes.Saw(text)) << text;
    bool verticalReported = false;
    for (const RecordedBox& box : boxes.Boxes())
        verticalReported |= box.text.find("\r\nLoading IDC_CURSOR_VERTICAL") != std::string::npos;
    EXPECT_TRUE(verticalReported);
    EXPECT_NE(ProgramCursors().arrow, nullptr);
    ReleaseCursorsAndBitmaps();
}
