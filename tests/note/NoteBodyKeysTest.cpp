// The keys a note's body handles itself, pressed as a user presses them:
// Ctrl+B switches the selection's bold (the note's text shows bold, and turns
// plain) without typing its control character, and Alt+2 gives the note the
// user's second style.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/KeyPresses.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
// How wide the selection is drawn on the body's first line, as the user sees
// it: the columns showing the highlight's colour. The highlight spans the
// selected text, so bold text draws it wider than plain text.
int DrawnSelectionWidth(HWND body)
{
    RECT area;
    GetWindowRect(body, &area);
    area.bottom = area.top + 20;
    const int width = area.right - area.left;
    const std::vector<COLORREF> pixels = ScreenPixels(area);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    std::vector<bool> shown(width, false);
    for (size_t at = 0; at < pixels.size(); ++at)
        shown[at % width] = shown[at % width] || pixels[at] == highlight;
    int columns = 0;
    for (bool column : shown)
        columns += column ? 1 : 0;
    return columns;
}
}

TEST(NoteBodyKeys, CtrlBSwitchesTheSelectionsBoldAndAltTwoGivesTheSecondStyle)
{
    ProgramInstall install("bodykeys");
    install.AddInstalledDataFiles();
    COLORREF original = 0;
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        CNoteController note;
        FillTestNote(note, "Keys here", 300, 200);
        original = note.m_bodyColor;
        SaveNote(note);
    }
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    HWND note = WaitForNoteWithText(program.ProcessId(), "Keys here");
    ASSERT_NE(note, nullptr);
    HWND body = BodyOf(note);
    ASSERT_TRUE(WaitForTheStartsFocus(program.ProcessId()));
    ASSERT_TRUE(ClickIntoBody(note));
    ASSERT_TRUE(SendWithTimeout(body, EM_SETSEL, 0, -1));
    // Read twice alike: the selection has been drawn whole.
    int boldWidth = 0;
    ASSERT_TRUE(WaitUntil([&] {
        const int width = DrawnSelectionWidth(body);
        const bool steady = width > 0 && width == boldWidth;
        boldWidth = width;
        return steady;
    })) << "no selection shown";

    PressKeys({VK_CONTROL, 'B'});
    EXPECT_TRUE(WaitUntil([&] { return DrawnSelectionWidth(body) < boldWidth; }))
        << "the bold selection, " << boldWidth << " columns wide, was not drawn plain";
    LRESULT modified = 0;
    EXPECT_TRUE(WaitUntil([&] { return SendWithTimeout(body, EM_GETMODIFY, 0, 0, &modified) && modified != 0; }));
    EXPECT_EQ(ReadWindowText(body), "Keys here") << "Ctrl+B came without Ctrl and typed over the selection";
    // The second style's colour shows in the body before the program is
    // closed: a close handled before the keys would find the old style.
    RECT area;
    GetWindowRect(body, &area);
    const POINT belowText{area.left + 10, area.bottom - 10};
    const COLORREF shownBefore = ScreenPixel(belowText);
    PressKeys({VK_MENU, '2'});
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(belowText) != shownBefore; })) << "Alt+2 showed no new colour";
    EXPECT_TRUE(SaveScreenshotOf(note, "note-body-keys"));
    CloseProgram(install, program);

    const StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* kept = StoredNoteTitled(stored, "Keys here");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->RichText().find('\x02'), std::string::npos) << "Ctrl+B typed its character";
    EXPECT_NE(kept->m_bodyColor, original) << "Alt+2 left the note's colour";
}
