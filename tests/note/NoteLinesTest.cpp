// The margin line and the ruled lines of notes loaded at start, read from
// the screen: each margin kind at its place, the ruled lines one line of the
// body's text apart, over a colour, a gradient, a picture and in transparent
// notes, none without the setting; the text right of the margin line; and the
// ruled lines moving with the text when it scrolls while the background stays.
// Then the ruled lines read against the text itself, line by line: under each
// line of the standard font (a wrapped paragraph among them), of a text in
// two sizes, after a larger line is typed above others, and after a style
// gives the body a larger font.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/NoteColors.h"
#include "foundation/bytes/NumberCodes.h"
#include "globals/NoteStyle.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "note/NoteController.h"
#include "note/NoteSheetRecords.h"
#include "store/FieldAccess.h"
#include "store/FontFields.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/StyleStorage.h"
#include "support/CurrentFolder.h"
#include "support/KeyPresses.h"
#include "support/NoteDriving.h"
#include "support/PictureFiles.h"
#include "support/RuledTextReading.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TempFolder.h"

namespace {
const char kLinesTextureName[] = "green.bmp";
const LOGFONTA kBodyFont = {-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"};

struct LinedNote {
    const char* name;  // the first line of its text
    LONG left, top;
    int backgroundKind;
    int transparency;
    DWORD marginKind;
    bool ruled;
};

const LinedNote kNotes[] = {
    {"Dotted margin", 10, 50, 0, 0, 1, true},  {"Solid margin", 345, 50, 0, 0, 2, false},
    {"Double dotted", 680, 50, 2, 0, 3, true}, {"Double solid", 10, 285, 4, 0, 4, true},
    {"See-through", 345, 285, 0, 30, 2, true}, {"Colour key", 680, 285, 5, 0, 2, true},
    {"No lines", 10, 520, 0, 0, 0, false},
};

// Every note holds more lines than it shows, so that each can scroll.
void StoreLinedNote(const LinedNote& wanted)
{
    CNoteController note;
    FillTestNote(note, wanted.name, wanted.left, wanted.top);
    note.m_width = 300;
    note.m_height = 200;
    note.m_bodyColor = RGB(250, 240, 160);
    note.m_textColor = RGB(0, 0, 0);
    note.m_bodyFont = kBodyFont;
    note.m_packed.level = wanted.transparency;
    const WORD texture = static_cast<WORD>(ElfHash(kLinesTextureName, lstrlenA(kLinesTextureName)) % 10000);
    note.SetBackground(wanted.backgroundKind, wanted.backgroundKind == 4 ? texture : 0, false);
    SetNoteLineKinds(note, wanted.ruled ? 1 : 0, wanted.marginKind, 0);
    std::string rtf = std::string("{\\rtf1\\ansi ") + wanted.name;
    for (int line = 2; line <= 30; ++line)
        rtf += "\\par Line " + std::to_string(line);
    rtf += "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
}

// The body's pixels as the screen shows them, once it has painted.
struct BodyPicture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool Line(int x, int y) const { return CloseColour(At(x, y), static_cast<COLORREF>(GetBackgroundTint(0))); }
};

BodyPicture PictureOfBody(HWND note)
{
    WaitUntilPainted(note);
    const RECT area = RectOf(BodyOf(note));
    return BodyPicture{area.right - area.left, area.bottom - area.top, ScreenPixels(area)};
}

// The pixels that are not as the program draws the note's lines: margin
// kind 1 a dotted line 25 pixels from the left, 2 a solid one, 3 and 4 the
// same at 25 and 28, from 4 pixels under the top to 5 above the bottom;
// ruled lines `spacing` apart under the text's first line (`scrolled` pixels
// above the body) from the text's left edge; nothing else in the line colour.
// The scroll arrows' corner is left out.
int MisplacedLinePixels(const BodyPicture& body, const LinedNote& note, int spacing, int scrolled)
{
    const DWORD kind = note.marginKind;
    const int textLeft = kind ? 30 : 1;
    int wrong = 0;
    for (int y = 0; y < body.height; ++y)
        for (int x = 0; x < body.width - 20; ++x) {
            const bool margin = ((kind && x == 25) || (kind >= 3 && x == 28)) && y >= 4 && y < body.height - 5 &&
                                (kind % 2 == 0 || (y - 4) % 2 == 0);
            const bool ruled = note.ruled && x >= textLeft && y + scrolled > 0 && (y + scrolled) % spacing == 0;
            wrong += body.Line(x, y) != (margin || ruled) ? 1 : 0;
        }
    return wrong;
}

const COLORREF kRuledBody = RGB(250, 240, 160);
const COLORREF kStyledBody = RGB(200, 230, 250);
const int kLargeStyle = 2;
// The text is read right of the margin lines.
const int kInkLeft = 30;

// The body font new notes get, as the install's settings table gives it.
LOGFONTA StandardBodyFont()
{
    CSettingsTable table;
    table.Open("READ");
    table.GoTop();
    const LOGFONTA font = ReadFontFields(table, FontFieldSet::kBody);
    table.Close();
    return font;
}

// A note ruled, with the double margin line, and the text of the RTF lines.
void StoreRuledNote(const char* title, LONG left, LONG height, const LOGFONTA* font, const std::string& lines)
{
    CNoteController note;
    FillTestNote(note, title, left, 40);
    note.m_width = 300;
    note.m_height = height;
    note.m_bodyColor = kRuledBody;
    note.m_textColor = RGB(0, 0, 0);
    if (font)
        note.m_bodyFont = *font;
    SetNoteLineKinds(note, 1, 4, 0);
    const std::string rtf = "{\\rtf1\\ansi " + lines + "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
}

// The third style: ruled, the double margin line, a light blue body and a
// body font of 14 points.
void SeedLargeStyle()
{
    CNoteStyle& style = UserSettings().styles[kLargeStyle];
    style = CNoteStyle();
    style.undefined = 0;
    style.horizontalLines = 1;
    style.leftMarginKind = 4;
    style.backgroundColor = kStyledBody;
    style.titleBackgroundColor = RGB(60, 110, 200);
    style.textColor = RGB(0, 0, 0);
    style.bodyFont = kBodyFont;
    style.bodyFont.lfHeight = -19;
    SaveV6Style(kLargeStyle);
}

// How far apart the body's first two lines of text lie, as its control
// places them; 0 when it could not be read.
int TextLinePitch(HWND body)
{
    LRESULT second = 0, first = 0, below = 0;
    if (!SendWithTimeout(body, EM_LINEINDEX, 1, 0, &second) || second <= 0 ||
        !SendWithTimeout(body, EM_POSFROMCHAR, 0, 0, &first) ||
        !SendWithTimeout(body, EM_POSFROMCHAR, static_cast<WPARAM>(second), 0, &below))
        return 0;
    return static_cast<short>(HIWORD(below)) - static_cast<short>(HIWORD(first));
}

// The left-most dark pixel of the first line of text; -1 when there is none.
int FirstCharacterLeft(const BodyPicture& body, int spacing)
{
    for (int x = 0; x < body.width; ++x)
        for (int y = 0; y < spacing; ++y)
            if (IsDarkPixel(body.At(x, y)))
                return x;
    return -1;
}
}

TEST(NoteLines, MarginLinesAndRuledLinesShowBehindTheTextOverEveryBackgroundAndScrollWithIt)
{
    ProgramInstall install("notelines");
    install.AddInstalledDataFiles();
    CreateDirectoryA(install.File("TEXTURES").c_str(), nullptr);
    WriteWholeFile(install.File(std::string("TEXTURES\\") + kLinesTextureName), SquareBitmap(16, RGB(120, 200, 120)));
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        for (const LinedNote& note : kNotes)
            StoreLinedNote(note);
    }

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    std::vector<HWND> windows;
    for (const LinedNote& wanted : kNotes) {
        windows.push_back(WaitForNoteStarting(program.ProcessId(), wanted.name));
        ASSERT_NE(windows.back(), nullptr) << wanted.name;
        SetWindowPos(windows.back(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    const int spacing = TextLinePitch(BodyOf(windows[0]));
    ASSERT_GT(spacing, 0);
    // The install's own welcome note would lie over one of them.
    HideNotesBesides(program.ProcessId(), main, windows);
    EXPECT_TRUE(SaveScreenshotOf(windows[0], "note-lines"));
    for (size_t i = 0; i < windows.size(); ++i) {
        const LinedNote& wanted = kNotes[i];
        const BodyPicture body = PictureOfBody(windows[i]);
        EXPECT_EQ(MisplacedLinePixels(body, wanted, spacing, 0), 0) << wanted.name;
        // The picture has dark pixels of its own; a colour-keyed body shows
        // the black screen under its black text.
        if (wanted.backgroundKind >= 4)
            continue;
        const int first = FirstCharacterLeft(body, spacing);
        const int textLeft = wanted.marginKind ? 30 : 1;
        EXPECT_TRUE(first >= textLeft && first < textLeft + 6) << wanted.name << " " << first;
    }

    // Scrolled by a line and a half, the ruled lines move with the text; the
    // colour or the gradient under them and the margin lines stay where they
    // were.
    for (size_t i : {0u, 2u}) {
        SCOPED_TRACE(kNotes[i].name);
        const BodyPicture before = PictureOfBody(windows[i]);
        const int by = spacing + spacing / 2;
        ASSERT_TRUE(SendWithTimeout(BodyOf(windows[i]), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, by), 0));
        // The scrolled body reaches the screen once its thread has painted
        // it: the picture is taken again until the lines show scrolled.
        BodyPicture after;
        WaitUntil([&] {
            after = PictureOfBody(windows[i]);
            return MisplacedLinePixels(after, kNotes[i], spacing, by) == 0;
        });
        EXPECT_EQ(MisplacedLinePixels(after, kNotes[i], spacing, by), 0);
        const int x = after.width - 30;  // right of the text
        for (int y = 0; y < after.height; ++y) {
            if (!before.Line(x, y) && !after.Line(x, y)) {
                EXPECT_EQ(after.At(x, y), before.At(x, y)) << "background at row " << y;
            }
        }
    }
    HWND scrolled = windows[2];
    EXPECT_TRUE(SaveScreenshotOf(scrolled, "note-lines-scrolled"));
    CloseProgram(install, program);
}

TEST(NoteLines, EachRuledLineRunsUnderALineOfTheTextWhateverItsSize)
{
    ProgramInstall install("ruledtext");
    install.AddInstalledDataFiles();
    std::string standard, twoSizes;
    // Sixteen lines, the ninth a paragraph that wraps onto a second line.
    for (int line = 1; line <= 15; ++line)
        standard += (line > 1 ? "\\par " : "") + std::string("Line ") + std::to_string(line) +
                    (line == 9 ? " Hgjy, and more words that go on past the right edge of the note" : " Hgjy");
    for (int line = 1; line <= 8; ++line) {
        const bool large = line == 1 || line == 4 || line == 5;
        twoSizes += std::string(line > 1 ? "\\par " : "") + (large ? "\\fs36 " : "\\fs20 ") + "Size " +
                    std::to_string(line) + " Hgjy";
    }
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        const LOGFONTA standardFont = StandardBodyFont();
        StoreRuledNote("Line 1", 10, 340, &standardFont, standard);
        StoreRuledNote("Size 1", 330, 400, &kBodyFont, "{\\fonttbl{\\f0 Tahoma;}}\\f0" + twoSizes);
        SeedLargeStyle();
    }
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    HWND standardNote = WaitForNoteStarting(program.ProcessId(), "Line 1");
    HWND twoSizeNote = WaitForNoteStarting(program.ProcessId(), "Size 1");
    ASSERT_NE(standardNote, nullptr);
    ASSERT_NE(twoSizeNote, nullptr);
    HideNotesBesides(program.ProcessId(), main, {standardNote, twoSizeNote});
    EXPECT_TRUE(SaveScreenshotOf(twoSizeNote, "ruled-lines-under-text"));
    ExpectARuleUnderEachLine(ReadTextAndRules(BodyOf(standardNote), kRuledBody, kInkLeft), 16, "standard font");
    const TextAndRules before = ReadTextAndRules(BodyOf(twoSizeNote), kRuledBody, kInkLeft);
    ExpectARuleUnderEachLine(before, 8, "two sizes");

    // A line in the larger size typed under the first moves the lines under
    // it and their rules alike. The click that takes the caret from the note
    // goes to the other.
    ASSERT_TRUE(ClickIntoBody(twoSizeNote));
    PressKeys({VK_CONTROL, VK_HOME});
    PressKeys({VK_END});
    PressKeys({VK_RETURN});
    PressKeys({'B'});
    PressKeys({'I'});
    PressKeys({'G'});
    ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(BodyOf(twoSizeNote)).find("big") != std::string::npos; }));
    ASSERT_TRUE(ClickIntoBody(standardNote));
    const TextAndRules typed = ReadLinesOnceShown(BodyOf(twoSizeNote), kRuledBody, kInkLeft, 9);
    EXPECT_TRUE(SaveScreenshotOf(twoSizeNote, "ruled-lines-large-line-typed"));
    ExpectARuleUnderEachLine(typed, 9, "a large line typed");
    if (before.lines.size() == 8 && typed.lines.size() == 9) {
        const int moved = typed.lines[8].first - before.lines[7].first;
        EXPECT_GT(moved, 20);
        EXPECT_EQ(RuleUnder(typed, 8) - RuleUnder(before, 7), moved) << "the rule under the last line";
    }

    // Alt+3 gives the note the style's body font of 14 points; its text keeps
    // its own sizes, the rules stay under it and go a line of the larger font
    // apart below it.
    ASSERT_TRUE(ClickIntoBody(twoSizeNote));
    PressKeys({VK_MENU, '3'});
    ASSERT_TRUE(WaitUntil([&] {
        const BodyPicture body = PictureOfBody(twoSizeNote);
        return CloseColour(body.At(body.width - 40, 2), kStyledBody);
    }));
    ASSERT_TRUE(ClickIntoBody(standardNote));
    const TextAndRules styled = ReadLinesOnceShown(BodyOf(twoSizeNote), kStyledBody, kInkLeft, 9);
    EXPECT_TRUE(SaveScreenshotOf(twoSizeNote, "ruled-lines-larger-body-font"));
    ExpectARuleUnderEachLine(styled, 9, "a larger body font");
    if (styled.lines.size() == 9 && typed.lines.size() == 9) {
        EXPECT_EQ(styled.lines[8].first, typed.lines[8].first) << "the text kept its sizes";
        EXPECT_GT(BelowTextPitch(styled), BelowTextPitch(typed));
    }
    CloseProgram(install, program);
}
