// The margin line and the ruled lines of notes loaded at start, read from
// the screen: each margin kind at its place, the ruled lines one line of the
// body's font apart, over a colour, a gradient, a picture and in transparent
// notes; the text right of the margin line; and the ruled lines moving with
// the text when it scrolls while the background stays.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/NoteColors.h"
#include "foundation/bytes/NumberCodes.h"
#include "foundation/win/FontSizeAndPixels.h"
#include "note/NoteController.h"
#include "note/NoteSheetRecords.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/PictureFiles.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TempFolder.h"

namespace {
const COLORREF kBodyColour = RGB(250, 240, 160);
const COLORREF kTextColour = RGB(0, 0, 0);
const char kTextureName[] = "green.bmp";
// Where the program draws the margin lines and starts the text beside them.
const int kMarginLine = 25;
const int kSecondMarginLine = 28;
const int kTextLeft = 30;
// The scroll arrows lie over the body's right edge.
const int kRightSpare = 20;

struct LinedNote {
    const char* name;  // the first line of its text
    LONG left, top;
    int backgroundKind;
    int transparency;
    DWORD marginKind;
    bool ruled;
};

// Every note holds more lines than it shows, so that each can scroll.
const LinedNote kNotes[] = {
    {"Dotted margin", 10, 50, 0, 0, 1, true},
    {"Solid margin", 345, 50, 0, 0, 2, false},
    {"Double dotted", 680, 50, 2, 0, 3, true},
    {"Double solid", 10, 285, 4, 0, 4, true},
    {"See-through", 345, 285, 0, 30, 2, true},
    {"Colour key", 680, 285, 5, 0, 2, true},
    {"No lines", 10, 520, 0, 0, 0, false},
};

LOGFONTA BodyFont()
{
    LOGFONTA font{};
    font.lfHeight = -13;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(font.lfFaceName, "Tahoma");
    return font;
}

WORD TextureId(const char* name)
{
    return static_cast<WORD>(ElfHash(name, lstrlenA(name)) % 10000);
}

void StoreLinedNote(const LinedNote& wanted)
{
    CNoteController note;
    FillTestNote(note, wanted.name, wanted.left, wanted.top);
    note.m_width = 300;
    note.m_height = 200;
    note.m_bodyColor = kBodyColour;
    note.m_textColor = kTextColour;
    note.m_bodyFont = BodyFont();
    note.m_packed.level = wanted.transparency;
    note.SetBackground(wanted.backgroundKind, wanted.backgroundKind == 4 ? TextureId(kTextureName) : 0, false);
    SetNoteLineKinds(note, wanted.ruled ? 1 : 0, wanted.marginKind, 0);
    std::string rtf = std::string("{\\rtf1\\ansi ") + wanted.name;
    for (int line = 2; line <= 30; ++line)
        rtf += "\\par Line " + std::to_string(line);
    rtf += "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
}

HWND NoteStarting(DWORD process, const std::string& start)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND note : NoteWindows(process))
            if (ReadWindowText(BodyOf(note)).rfind(start, 0) == 0)
                found = note;
        return found != nullptr;
    });
    return found;
}

// The body's pixels as the screen shows them, once it has painted.
struct BodyPicture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

BodyPicture PictureOfBody(HWND note)
{
    WaitUntilPainted(note);
    const RECT area = RectOf(BodyOf(note));
    BodyPicture picture;
    picture.width = area.right - area.left;
    picture.height = area.bottom - area.top;
    picture.pixels = ScreenPixels(area);
    return picture;
}

bool IsLinePixel(COLORREF pixel)
{
    return CloseColour(pixel, static_cast<COLORREF>(GetBackgroundTint(kTextColour)));
}

bool IsMarginColumn(DWORD kind, int x)
{
    return (kind != 0 && x == kMarginLine) || (kind >= 3 && x == kSecondMarginLine);
}

// The pixels of the margin columns that are not as the kind draws them: the
// line colour from 4 pixels under the top to 5 above the bottom, every second
// pixel of a dotted kind; the body's own colours everywhere else.
int WrongMarginPixels(const BodyPicture& body, DWORD kind)
{
    int wrong = 0;
    const bool dotted = kind == 1 || kind == 3;
    for (int x : {kMarginLine, kSecondMarginLine})
        for (int y = 0; y < body.height; ++y) {
            const bool drawn =
                IsMarginColumn(kind, x) && y >= 4 && y < body.height - 5 && (!dotted || (y - 4) % 2 == 0);
            wrong += IsLinePixel(body.At(x, y)) != drawn ? 1 : 0;
        }
    return wrong;
}

// The share, in percent, of the row from the text's left edge to the right
// that is in the line colour.
int LineShare(const BodyPicture& body, int y, int textLeft)
{
    int drawn = 0;
    const int right = body.width - kRightSpare;
    for (int x = textLeft; x < right; ++x)
        drawn += IsLinePixel(body.At(x, y)) ? 1 : 0;
    return drawn * 100 / (right - textLeft);
}

// Ruled lines in the rows `spacing` apart from the text's first line, which
// starts `scrolled` pixels above the body, and in no other row; none left of
// the text.
void ExpectRuledLines(const BodyPicture& body, int spacing, int scrolled, int textLeft, const char* name)
{
    for (int y = 0; y < body.height - 5; ++y) {
        const bool ruled = (y + scrolled) % spacing == 0 && y + scrolled > 0;
        if (ruled)
            EXPECT_GE(LineShare(body, y, textLeft), 90) << name << " row " << y;
        else
            EXPECT_LT(LineShare(body, y, textLeft), 10) << name << " row " << y;
        for (int x = 0; x < textLeft - 1; ++x) {
            if (!IsMarginColumn(4, x)) {
                EXPECT_FALSE(IsLinePixel(body.At(x, y))) << name << " at " << x << "," << y;
            }
        }
    }
}

// Where the first line's first character starts: the left-most dark pixel
// in the rows of the first line; -1 when there is none.
int FirstCharacterLeft(const BodyPicture& body, int spacing)
{
    for (int x = 0; x < body.width; ++x)
        for (int y = 0; y < spacing && y < body.height; ++y)
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
    WriteWholeFile(install.File(std::string("TEXTURES\\") + kTextureName), SquareBitmap(16, RGB(120, 200, 120)));
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        for (const LinedNote& note : kNotes)
            StoreLinedNote(note);
    }
    HDC screen = GetDC(nullptr);
    const int spacing = FontTextHeight(screen, BodyFont());
    ReleaseDC(nullptr, screen);
    ASSERT_GT(spacing, 8);

    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    std::vector<HWND> windows;
    for (const LinedNote& wanted : kNotes) {
        HWND note = NoteStarting(program.ProcessId(), wanted.name);
        ASSERT_NE(note, nullptr) << wanted.name;
        SetWindowPos(note, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        windows.push_back(note);
    }
    // The install's own welcome note would lie over one of them.
    for (HWND note : NoteWindows(program.ProcessId()))
        if (std::find(windows.begin(), windows.end(), note) == windows.end())
            ShowWindow(note, SW_HIDE);
    EXPECT_TRUE(SaveScreenshotOf(windows[0], "note-lines"));
    for (size_t i = 0; i < windows.size(); ++i) {
        const LinedNote& wanted = kNotes[i];
        const BodyPicture body = PictureOfBody(windows[i]);
        ASSERT_GT(body.height, 6 * spacing) << wanted.name;
        EXPECT_EQ(WrongMarginPixels(body, wanted.marginKind), 0) << wanted.name;
        const int textLeft = wanted.marginKind ? kTextLeft : 2;
        if (wanted.ruled) {
            ExpectRuledLines(body, spacing, 0, textLeft, wanted.name);
        } else {
            for (int y = 0; y < body.height; ++y)
                for (int x = 0; x < body.width - kRightSpare; ++x) {
                    if (!IsMarginColumn(wanted.marginKind, x)) {
                        ASSERT_FALSE(IsLinePixel(body.At(x, y))) << wanted.name << " at " << x << "," << y;
                    }
                }
        }
        // The text starts right of the margin line, or at the body's edge
        // without one (a colour-keyed body shows the black screen under it).
        if (wanted.backgroundKind == 4 || wanted.backgroundKind == 5)
            continue;
        const int first = FirstCharacterLeft(body, spacing);
        if (wanted.marginKind) {
            EXPECT_GE(first, kTextLeft) << wanted.name;
            EXPECT_LT(first, kTextLeft + 6) << wanted.name;
        } else {
            EXPECT_GE(first, 0) << wanted.name;
            EXPECT_LT(first, 6) << wanted.name;
        }
    }

    // Scrolled by a part of a line, the ruled lines move with the text; the
    // gradient under them and the margin lines stay where they were.
    HWND scrolled = windows[2];
    const BodyPicture before = PictureOfBody(scrolled);
    const int by = spacing + spacing / 2;
    ASSERT_TRUE(SendWithTimeout(BodyOf(scrolled), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, by), 0));
    const BodyPicture after = PictureOfBody(scrolled);
    ExpectRuledLines(after, spacing, by, kTextLeft, "scrolled");
    EXPECT_EQ(WrongMarginPixels(after, kNotes[2].marginKind), 0);
    // Right of the text, off the ruled lines: the gradient as it was.
    const int x = after.width - 30;
    for (int y = 0; y < after.height; ++y) {
        if (!IsLinePixel(before.At(x, y)) && !IsLinePixel(after.At(x, y))) {
            EXPECT_EQ(after.At(x, y), before.At(x, y)) << "background at row " << y;
        }
    }
    EXPECT_TRUE(SaveScreenshotOf(scrolled, "note-lines-scrolled"));
    CloseProgram(install, program);
}
