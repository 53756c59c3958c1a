// The scroll arrows of notes loaded at start, as the user sees them: a note
// whose text runs past its body shows both arrows over the body's lower
// right corner, drawn as buttons; a note whose text fits has none.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const char kArrowClass[] = "UpDownClassName6";

void StoreScrollingNote(const char* text, LONG left, int lines)
{
    CNoteController note;
    FillTestNote(note, text, left, 160);
    std::string rtf = std::string("{\\rtf1\\ansi ") + text;
    for (int line = 0; line < lines; ++line)
        rtf += "\\par line " + std::to_string(line);
    rtf += "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
}

std::vector<HWND> ArrowsOf(HWND note)
{
    std::vector<HWND> arrows;
    for (HWND child = FindWindowExA(note, nullptr, kArrowClass, nullptr); child && arrows.size() < 4;
         child = FindWindowExA(note, child, kArrowClass, nullptr))
        arrows.push_back(child);
    return arrows;
}

// The arrow is on the screen as a button: mostly the button face, with its
// dark glyph.
bool DrawnAsButton(HWND arrow)
{
    const std::vector<COLORREF> pixels = ScreenPixels(RectOf(arrow));
    size_t face = 0;
    size_t dark = 0;
    for (COLORREF pixel : pixels) {
        face += CloseColour(pixel, GetSysColor(COLOR_BTNFACE)) ? 1 : 0;
        dark += IsDarkPixel(pixel) ? 1 : 0;
    }
    return !pixels.empty() && face * 3 >= pixels.size() && dark > 0;
}
}

TEST(NoteScrollArrows, ALoadedNoteThatOverflowsShowsBothArrowsOverItsBody)
{
    ProgramInstall install("arrows");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreScrollingNote("Long list", 300, 30);
        StoreScrollingNote("Short", 600, 0);
    }
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    HWND longNote = WaitForNoteStarting(program.ProcessId(), "Long list");
    HWND shortNote = WaitForNoteStarting(program.ProcessId(), "Short");
    ASSERT_NE(longNote, nullptr);
    ASSERT_NE(shortNote, nullptr);

    std::vector<HWND> arrows;
    ASSERT_TRUE(WaitUntil([&] {
        arrows = ArrowsOf(longNote);
        return arrows.size() == 2 && IsWindowVisible(arrows[0]) && IsWindowVisible(arrows[1]);
    }));
    const RECT body = RectOf(BodyOf(longNote));
    for (HWND arrow : arrows) {
        const RECT place = RectOf(arrow);
        EXPECT_GT(place.left, (body.left + body.right) / 2);
        EXPECT_GT(place.top, (body.top + body.bottom) / 2);
        EXPECT_LE(place.right, body.right);
        EXPECT_LE(place.bottom, body.bottom);
        EXPECT_TRUE(WaitUntil([&] { return DrawnAsButton(arrow); })) << "the body paints over an arrow";
    }
    // One above the other, the up arrow first (its window keeps 0, the down
    // arrow's 1), each 12 pixels square.
    const RECT first = RectOf(arrows[0]);
    const RECT second = RectOf(arrows[1]);
    const bool firstIsUp = GetWindowLongPtrA(arrows[0], GWLP_USERDATA) == 0;
    const RECT up = firstIsUp ? first : second;
    const RECT down = firstIsUp ? second : first;
    EXPECT_EQ(GetWindowLongPtrA(firstIsUp ? arrows[1] : arrows[0], GWLP_USERDATA), 1);
    EXPECT_EQ(up.left, down.left);
    EXPECT_EQ(down.top - up.top, 13);
    EXPECT_EQ(up.right - up.left, 12);
    EXPECT_EQ(down.bottom - down.top, 12);
    EXPECT_EQ(body.right - down.right, 1);
    EXPECT_TRUE(ArrowsOf(shortNote).empty());
    EXPECT_TRUE(SaveScreenshotOf(longNote, "note-scroll-arrows"));
    CloseProgram(install, program);
}
