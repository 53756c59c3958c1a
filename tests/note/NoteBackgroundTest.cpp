// Notes painted behind their text: a texture of the TEXTURES folder tiled
// under the body, a gradient, and a plain colour; a texture whose file is
// gone leaves the note in its colour without a word to the user.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/NumberCodes.h"
#include "globals/NoteStyle.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "note/NoteController.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesLoader.h"
#include "store/SettingsTable.h"
#include "store/StyleStorage.h"
#include "support/InFolder.h"
#include "support/StoredNotes.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"

namespace {
const char kTextureName[] = "stripes.bmp";
const COLORREF kBodyColour = RGB(250, 240, 160);
const COLORREF kStripeA = RGB(200, 30, 30);
const COLORREF kStripeB = RGB(30, 30, 200);
const int kStripeWidth = 8;

// A 16 x 16 picture of two vertical stripes, 8 pixels each.
std::string StripesBitmap()
{
    const int side = 2 * kStripeWidth;
    std::string pixels;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            COLORREF c = x < kStripeWidth ? kStripeA : kStripeB;
            pixels += static_cast<char>(GetBValue(c));
            pixels += static_cast<char>(GetGValue(c));
            pixels += static_cast<char>(GetRValue(c));
        }
    }
    BITMAPINFOHEADER header{sizeof header, side, side, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + pixels.size()), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof header};
    return std::string(reinterpret_cast<const char*>(&file), sizeof file) +
           std::string(reinterpret_cast<const char*>(&header), sizeof header) + pixels;
}

WORD TextureId(const char* name)
{
    return static_cast<WORD>(ElfHash(name, lstrlenA(name)) % 10000);
}

void StoreBackgroundNote(const char* text, LONG left, int kind, WORD textureId, int transparency = 0)
{
    CNoteController note;
    note.m_packed.level = transparency;
    note.m_userId = 1;
    note.m_left = left;
    note.m_top = 120;
    note.m_width = 300;
    note.m_height = 220;
    note.m_bodyColor = kBodyColour;
    note.m_titleColor = RGB(120, 90, 30);
    note.m_titleTextColor = RGB(255, 255, 255);
    note.SetBackground(kind, textureId, false);
    const std::string rtf = std::string("{\\rtf1\\ansi ") + text + "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
}

// A point of the body, x pixels from its left and 20 above its bottom, below the text.
POINT BackgroundBodyPoint(HWND note, int x)
{
    HWND body = BodyOf(note);
    RECT client{};
    GetClientRect(body, &client);
    POINT point{x, client.bottom - 20};
    ClientToScreen(body, &point);
    return point;
}

std::string Hex(COLORREF colour)
{
    char text[16];
    wsprintfA(text, "%06lX", static_cast<unsigned long>(colour));
    return text;
}

// An installation whose TEXTURES folder holds the stripes.
void AddStripesTexture(ProgramInstall& install)
{
    install.AddInstalledDataFiles();
    CreateDirectoryA(install.File("TEXTURES").c_str(), nullptr);
    WriteWholeFile(install.File(std::string("TEXTURES\\") + kTextureName), StripesBitmap());
}

// The body shows colour a where the stripes' first lies and b where the second
// does (they repeat every 16 pixels from the body's left edge), once painted.
void ExpectStripes(HWND note, COLORREF a, COLORREF b)
{
    const POINT onA = BackgroundBodyPoint(note, 2 * kStripeWidth * 4 + 3);
    const POINT onB = BackgroundBodyPoint(note, 2 * kStripeWidth * 4 + kStripeWidth + 3);
    EXPECT_TRUE(WaitUntil([&] { return CloseColour(ScreenPixel(onA), a); })) << Hex(ScreenPixel(onA));
    EXPECT_TRUE(CloseColour(ScreenPixel(onB), b)) << Hex(ScreenPixel(onB));
}
}

TEST(NoteBackground, TexturesAndGradientsPaintUnderTheTextAndAMissingTextureShowsTheColour)
{
    ProgramInstall install;
    AddStripesTexture(install);
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreBackgroundNote("textured", 40, 4, TextureId(kTextureName));
        StoreBackgroundNote("gradient", 370, 1, 0);
        StoreBackgroundNote("plain", 700, 0, 0);
    }
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND textured = WaitForNoteWithText(program.ProcessId(), "textured");
        HWND gradient = WaitForNoteWithText(program.ProcessId(), "gradient");
        HWND plain = WaitForNoteWithText(program.ProcessId(), "plain");
        ASSERT_TRUE(textured && gradient && plain);
        for (HWND note : {textured, gradient, plain})
            SetWindowPos(note, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

        ExpectStripes(textured, kStripeA, kStripeB);

        // A horizontal gradient runs from a pale tint at the left to the colour.
        const COLORREF left = ScreenPixel(BackgroundBodyPoint(gradient, 4));
        const COLORREF right = ScreenPixel(BackgroundBodyPoint(gradient, 270));
        EXPECT_FALSE(CloseColour(left, right)) << Hex(left) << " " << Hex(right);
        EXPECT_TRUE(CloseColour(right, kBodyColour)) << Hex(right);
        EXPECT_GT(GetBValue(left), GetBValue(right));

        EXPECT_TRUE(WaitUntil([&] { return CloseColour(ScreenPixel(BackgroundBodyPoint(plain, 40)), kBodyColour); }));
        EXPECT_EQ(ReadWindowText(BodyOf(textured)), "textured");
        EXPECT_TRUE(SaveScreenshotOf(textured, "note-backgrounds"));
        CloseProgram(install, program);
    }

    // The kind, the texture and the tiling are kept with the note.
    {
        StoredNoteList notes = LoadEveryNote(install.Path());
        bool found = false;
        for (const auto& note : notes) {
            if (note->RichText().find("textured") == std::string::npos)
                continue;
            found = true;
            EXPECT_EQ(note->m_backgroundKind, 4);
            EXPECT_EQ(note->m_textureId, TextureId(kTextureName));
            EXPECT_FALSE(note->m_textureStretch);
        }
        EXPECT_TRUE(found);
    }

    // Without its picture the note shows its colour; the user is not asked anything.
    ASSERT_TRUE(DeleteFileA(install.File(std::string("TEXTURES\\") + kTextureName).c_str()));
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND textured = WaitForNoteWithText(program.ProcessId(), "textured");
        ASSERT_NE(textured, nullptr);
        SetWindowPos(textured, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ExpectStripes(textured, kBodyColour, kBodyColour);
        EXPECT_EQ(FindTopWindow("#32770", program.ProcessId()), nullptr);
        CloseProgram(install, program);
    }
    EXPECT_NE(ReadWholeFile(install.File("error.txt")).find("TEXTURES"), std::string::npos);
}

// Notes of some transparency are layered windows: a screen without a
// compositor shows them as they are drawn, their texture under the text,
// whether the note was loaded so or took a transparent style once shown.
TEST(NoteBackground, TransparentTexturedNotesShowTheirTexture)
{
    ProgramInstall install;
    AddStripesTexture(install);
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreBackgroundNote("see-through", 40, 4, TextureId(kTextureName), 30);
        LoadSettings();
        CNoteStyle& style = UserSettings().styles[1];
        style = ConfigSettings().styles[1];
        style.undefined = 0;
        style.backgroundColor = kBodyColour;
        style.backgroundKind = 4;
        style.textureId = TextureId(kTextureName);
        style.textureStretch = 0;
        style.transparency = 30;
        style.SetText(nullptr);
        SaveV6Style(1);
    }
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    HWND loaded = WaitForNoteWithText(program.ProcessId(), "see-through");
    ASSERT_NE(loaded, nullptr);
    const std::vector<HWND> before = NoteWindows(program.ProcessId());
    ASSERT_TRUE(SendWithTimeout(main, WM_HOTKEY, 151, 0));
    HWND styled = nullptr;
    for (HWND note : NoteWindows(program.ProcessId()))
        if (std::find(before.begin(), before.end(), note) == before.end())
            styled = note;
    ASSERT_NE(styled, nullptr);
    for (HWND note : before)
        if (note != loaded)
            ShowWindow(note, SW_HIDE);
    SetWindowPos(loaded, HWND_TOPMOST, 40, 120, 300, 220, SWP_NOACTIVATE);
    SetWindowPos(styled, HWND_TOPMOST, 400, 120, 300, 220, SWP_NOACTIVATE);

    for (HWND note : {loaded, styled}) {
        EXPECT_NE(GetWindowLongPtrA(note, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        ExpectStripes(note, kStripeA, kStripeB);
    }
    // The loaded note's text shows over its texture. Both notes are waited
    // for: the stripes may show once the body is erased, before its text.
    EXPECT_TRUE(WaitUntilPainted(loaded));
    RECT firstLine = RectOf(BodyOf(loaded));
    firstLine.bottom = firstLine.top + 16;
    EXPECT_TRUE(WaitUntil([&] {
        const std::vector<COLORREF> pixels = ScreenPixels(firstLine);
        return std::count_if(pixels.begin(), pixels.end(), IsDarkPixel) > 50;
    }));
    EXPECT_TRUE(SaveScreenshotOf(styled, "notes-transparent-texture"));
    CloseProgram(install, program);
}
