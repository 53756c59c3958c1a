// The style text dialog of the real program shows a style with horizontal
// lines as its notes are ruled: lines in the tint of the style's text colour
// behind the text, over the plain colour and over a gradient alike, read from
// the screen.
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
        style.SetText("{\\rtf1\\ansi Ruled}");
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

// The rows ruled in the style text dialog of the style, saved as a picture.
std::vector<int> RuledRowsOfStyleText(HWND page, int button, const char* caption, const char* picture,
                                      DWORD process)
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
    std::vector<int> rows;
    WaitUntil([&] { return (rows = RuledRows(edit)).size() >= 3; }, 5000);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntil([&] { return !IsWindow(dialog); });
    return rows;
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

    const struct {
        int button;
        const char* caption;
        const char* picture;
    } styles[] = {{IDC_APPEARANCE_STYLE_1, "Text of Style 1 - 'Ruled plain'", "style-text-ruled-plain"},
                  {IDC_APPEARANCE_STYLE_2, "Text of Style 2 - 'Ruled gradient'", "style-text-ruled-gradient"}};
    for (const auto& style : styles) {
        SCOPED_TRACE(style.caption);
        const std::vector<int> rows =
            RuledRowsOfStyleText(open.page, style.button, style.caption, style.picture, process);
        EXPECT_GE(rows.size(), 3u);
        if (rows.size() < 3)
            continue;
        // Evenly apart, a line of Tahoma text each.
        const int spacing = rows[1] - rows[0];
        EXPECT_GE(spacing, 12);
        EXPECT_LE(spacing, 20);
        for (size_t i = 2; i < rows.size(); ++i)
            EXPECT_EQ(rows[i] - rows[i - 1], spacing) << i;
    }
    EXPECT_TRUE(PressSheetButton(open.sheet, PSBTN_CANCEL));
    CloseProgram(install, program);
}
