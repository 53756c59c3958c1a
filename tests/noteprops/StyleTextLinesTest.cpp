// The style text dialog of the real program shows a style with horizontal
// lines as its notes are ruled: lines in the tint of the style's text colour
// behind the text, over the plain colour and over a gradient alike, read from
// the screen; a line under each line of a text in two sizes, and below the
// text a line of the style's font apart.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "globals/NoteStyle.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "noteprops/NoteSheetDriving.h"
#include "resources/ids/NoteSettingsIds.h"
#include "resources/ids/StyleTextIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/StyleStorage.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/RuledTextReading.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const COLORREF kPlainBody = RGB(255, 255, 200);
const COLORREF kGradientBody = RGB(90, 140, 240);
// The tint of black text, in which its lines are drawn.
const COLORREF kLineTint = RGB(0xA0, 0xA0, 0xA0);

// The first style ruled on plain yellow, the second ruled on a vertical
// gradient of blue, both with black text and a text of their own.
void SeedRuledStyles()
{
    for (int i = 0; i < 2; ++i) {
        CNoteStyle& style = UserSettings().styles[i];
        style = CNoteStyle();
        style.undefined = 0;
        style.horizontalLines = 1;
        style.backgroundKind = i == 0 ? 0 : 2;
        style.backgroundColor = i == 0 ? kPlainBody : kGradientBody;
        style.titleBackgroundColor = RGB(90, 10, 160);
        style.textColor = RGB(0, 0, 0);
        style.bodyFont.lfHeight = -13;
        lstrcpynA(style.bodyFont.lfFaceName, "Tahoma", LF_FACESIZE);
        style.SetName(i == 0 ? "Ruled plain" : "Ruled gradient");
        style.SetText(i == 0 ? "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs36 Large Hgjy\\par\\fs20 Small "
                               "Hgjy\\par\\fs36 Large Hgjy}"
                             : "{\\rtf1\\ansi Ruled}");
        SaveV6Style(i);
    }
}

bool NearTint(COLORREF colour)
{
    return std::abs(GetRValue(colour) - GetRValue(kLineTint)) < 12 &&
           std::abs(GetGValue(colour) - GetGValue(kLineTint)) < 12 &&
           std::abs(GetBValue(colour) - GetBValue(kLineTint)) < 12;
}

// The rows of the edit, from its top, that are drawn across in the tint.
std::vector<int> RuledRows(HWND edit)
{
    RECT client{};
    GetClientRect(edit, &client);
    MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int width = client.right - client.left;
    const std::vector<COLORREF> pixels = ScreenPixels(client);
    std::vector<int> rows;
    for (int y = 0; width > 0 && static_cast<size_t>((y + 1) * width) <= pixels.size(); ++y) {
        int tinted = 0;
        for (int x = 0; x < width; ++x)
            tinted += NearTint(pixels[static_cast<size_t>(y * width + x)]) ? 1 : 0;
        if (tinted * 10 >= width * 9)
            rows.push_back(y);
    }
    return rows;
}

struct RuledStyleText {
    std::vector<int> rows;   // rows ruled across nine tenths of the edit
    TextAndRules textAndRules;
};

// What the style text dialog of the style shows ruled, saved as a picture.
RuledStyleText RuledRowsOfStyleText(HWND page, int button, const char* caption, const char* picture,
                                    COLORREF background, DWORD process)
{
    PostMessageA(GetDlgItem(page, button), WM_COMMAND, ID_STYLE_EDIT_TEXT, 0);
    HWND dialog = nullptr;
    WaitUntil([&] {
        dialog = FindTopWindowTitled("#32770", caption, process);
        return dialog != nullptr && IsWindowVisible(dialog);
    });
    if (!dialog)
        return {};
    EXPECT_TRUE(SaveScreenshotOf(dialog, picture));
    HWND edit = GetDlgItem(dialog, IDC_STYLE_TEXT_EDIT);
    RuledStyleText seen;
    WaitUntil([&] { return (seen.rows = RuledRows(edit)).size() >= 3; });
    seen.textAndRules = ReadTextAndRules(edit, background, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntil([&] { return !IsWindow(dialog); });
    return seen;
}
}

TEST(StyleTextLines, TheEditIsRuledInTheTextsTintOverThePlainColourAndOverAGradient)
{
    ProgramInstall install("styletextlines");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        SeedRuledStyles();
        CNoteController note;
        FillTestNote(note, "Ruled styles", 40, 60);
        SaveNote(note);
    }
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    HWND note = WaitForNoteWithText(process, "Ruled styles");
    ASSERT_NE(note, nullptr);
    const NoteSheet open = OpenNoteSheet(note, process, IDC_APPEARANCE_STYLE_1);
    ASSERT_NE(open.page, nullptr);

    const RuledStyleText plain = RuledRowsOfStyleText(open.page, IDC_APPEARANCE_STYLE_1,
                                                      "Text of Style 1 - 'Ruled plain'", "style-text-ruled-plain",
                                                      kPlainBody, process);
    ExpectARuleUnderEachLine(plain.textAndRules, 3, "plain, a text in two sizes");
    const RuledStyleText gradient =
        RuledRowsOfStyleText(open.page, IDC_APPEARANCE_STYLE_2, "Text of Style 2 - 'Ruled gradient'",
                             "style-text-ruled-gradient", kGradientBody, process);
    // Under the one line of text and below it, evenly apart, a line of Tahoma
    // text each.
    const std::vector<int>& rows = gradient.rows;
    ASSERT_GE(rows.size(), 3u);
    const int spacing = rows[1] - rows[0];
    EXPECT_GE(spacing, 12);
    EXPECT_LE(spacing, 20);
    for (size_t i = 2; i < rows.size(); ++i)
        EXPECT_EQ(rows[i] - rows[i - 1], spacing) << i;
    EXPECT_EQ(BelowTextPitch(plain.textAndRules), spacing) << "a line of the style's font apart";
    EXPECT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));
    CloseProgram(install, program);
}
