// The real program with notes on the desktop: notes made by a second start,
// by the tray icon and by the style hotkeys, their text, runs, places and
// colours kept across a restart, arranged by the tray commands, and saved
// automatically while the program runs.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/NoteColors.h"
#include "globals/NoteStyle.h"
#include "note/NoteMessages.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const UINT kTrayCallback = 0x8064;
const UINT kCmdCascadeByDate = 4089;
const UINT kCmdUnarrange = 4091;
const UINT kCmdTileByDate = 4094;
const UINT kCmdNewNote = 4012;

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
           "x" + std::to_string(r.bottom - r.top) + ")";
}

void Select(HWND body, int from, int to)
{
    ASSERT_TRUE(SendWithTimeout(body, EM_SETSEL, from, to));
}
}

TEST(DesktopNotes, ANoteMadeByASecondStartKeepsItsTextRunsAndPlaceAcrossARestart)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RECT helloRect{};
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const size_t before = NoteWindows(program.ProcessId()).size();

        // Three notes asked for without a place step down from (10, 30).
        HWND hello = NewNoteFromCommandLine(install, program.ProcessId(), "hello");
        ASSERT_NE(hello, nullptr);
        HWND second = NewNoteFromCommandLine(install, program.ProcessId(), "second");
        HWND third = NewNoteFromCommandLine(install, program.ProcessId(), "third");
        ASSERT_NE(second, nullptr);
        ASSERT_NE(third, nullptr);
        EXPECT_EQ(NoteWindows(program.ProcessId()).size(), before + 3);
        EXPECT_EQ(RectOf(hello).left, 10);
        EXPECT_EQ(RectOf(hello).top, 30);
        EXPECT_EQ(RectOf(second).left, 130);
        EXPECT_EQ(RectOf(second).top, 80);
        EXPECT_EQ(RectOf(third).left, 250);
        EXPECT_EQ(RectOf(third).top, 130);
        EXPECT_TRUE(IsWindowVisible(hello));

        // "hel" bold, "lo" italic, through the note's commands on the selection.
        HWND body = BodyOf(hello);
        Select(body, 0, 3);
        ASSERT_TRUE(SendWithTimeout(hello, WM_COMMAND, kNoteCmdBold, 0));
        Select(body, 3, 5);
        ASSERT_TRUE(SendWithTimeout(hello, WM_COMMAND, kNoteCmdItalic, 0));
        EXPECT_EQ(ReadWindowText(body), "hello");
        // The note moved by the user keeps its new place.
        ASSERT_TRUE(SetWindowPos(hello, nullptr, 300, 200, 260, 180, SWP_NOZORDER | SWP_NOACTIVATE));
        helloRect = RectOf(hello);

        // A double click on the tray icon makes a note.
        const size_t notesBefore = NoteWindows(program.ProcessId()).size();
        PostMessageA(main, kTrayCallback, 508, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(WaitUntil([&] { return NoteWindows(program.ProcessId()).size() == notesBefore + 1; }));
        CloseProgram(install, program);
    }
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
    const std::string memo = ReadWholeFile(install.File("notes.qps"));
    // "hel" switched to the other weight, "lo" to italic.
    EXPECT_NE(memo.find("\\i lo"), std::string::npos);
    EXPECT_TRUE(memo.find("\\b hel") != std::string::npos || memo.find("hel\\b") != std::string::npos);

    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    HWND hello = WaitForNoteWithText(again.ProcessId(), "hello");
    ASSERT_NE(hello, nullptr);
    EXPECT_TRUE(SameRect(RectOf(hello), helloRect)) << Describe(RectOf(hello)) << " " << Describe(helloRect);
    EXPECT_NE(NoteWithText(again.ProcessId(), "second"), nullptr);
    CloseProgram(install, again);
    const std::string memoAgain = ReadWholeFile(install.File("notes.qps"));
    EXPECT_NE(memoAgain.rfind("\\i lo"), std::string::npos);
}

TEST(DesktopNotes, TileCascadeAndUnarrangeMoveTheShownNotes)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    for (const char* text : {"one", "two", "three"})
        RunToEnd(install, std::string("/new \"") + text + "\"");
    ASSERT_NE(WaitForNoteWithText(program.ProcessId(), "three"), nullptr);

    std::vector<HWND> shown;
    for (HWND note : NoteWindows(program.ProcessId())) {
        if (IsWindowVisible(note))
            shown.push_back(note);
    }
    const int n = static_cast<int>(shown.size());
    ASSERT_GE(n, 3);
    ASSERT_LE(n, 5);
    std::vector<RECT> before;
    for (HWND note : shown)
        before.push_back(RectOf(note));

    // Up to five notes tile in one column of equal rows from (10, 10).
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdTileByDate, 0));
    const int row = (768 - 10) / n;
    std::vector<LONG> tops;
    for (size_t i = 0; i < shown.size(); ++i) {
        RECT r = RectOf(shown[i]);
        EXPECT_EQ(r.left, 10);
        EXPECT_EQ(r.bottom - r.top, row);
        EXPECT_EQ(r.right - r.left, before[i].right - before[i].left);
        tops.push_back(r.top);
    }
    std::sort(tops.begin(), tops.end());
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(tops[i], 10 + i * row);
    // Notes made one after the other tile oldest first: "one" above "three".
    EXPECT_LT(RectOf(NoteWithText(program.ProcessId(), "one")).top,
              RectOf(NoteWithText(program.ProcessId(), "three")).top);

    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdUnarrange, 0));
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_TRUE(SameRect(RectOf(shown[i]), before[i])) << Describe(RectOf(shown[i])) << Describe(before[i]);

    // A cascade steps 23 pixels from (10, 10), each note one pixel wider.
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdCascadeByDate, 0));
    std::vector<LONG> lefts;
    for (size_t i = 0; i < shown.size(); ++i) {
        RECT r = RectOf(shown[i]);
        EXPECT_EQ(r.left, r.top);
        EXPECT_EQ(r.right - r.left, before[i].right - before[i].left + 1);
        lefts.push_back(r.left);
    }
    std::sort(lefts.begin(), lefts.end());
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(lefts[i], 10 + 23 * i);
    ASSERT_TRUE(SendWithTimeout(main, WM_COMMAND, kCmdUnarrange, 0));
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_TRUE(SameRect(RectOf(shown[i]), before[i]));

    // Fifty shown notes are more than a tile can hold: the user is told and nothing moves.
    for (int i = n; i < 50; ++i)
        PostMessageA(main, WM_COMMAND, kCmdNewNote, 0);
    ASSERT_TRUE(WaitUntil([&] { return NoteWindows(program.ProcessId()).size() >= 50; }));
    PostMessageA(main, WM_COMMAND, kCmdTileByDate, 0);
    ShownMessageBox refusal = WaitForMessageBox(program.ProcessId());
    ASSERT_NE(refusal.window, nullptr);
    EXPECT_EQ(refusal.text, "Sorry, cannot tile more than 49 notes ");
    EXPECT_TRUE(AnswerMessageBox(refusal, IDOK));
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_TRUE(SameRect(RectOf(shown[i]), before[i]));

    // The notes made for the count are deleted again: gone from the desktop.
    for (HWND note : NoteWindows(program.ProcessId())) {
        if (std::find(shown.begin(), shown.end(), note) == shown.end()) {
            EXPECT_TRUE(SendWithTimeout(note, WM_COMMAND, kNoteCmdDelete, 0));
        }
    }
    EXPECT_TRUE(WaitUntil([&] {
        int visible = 0;
        for (HWND note : NoteWindows(program.ProcessId()))
            visible += IsWindowVisible(note) ? 1 : 0;
        return visible == n;
    }));
    CloseProgram(install, program);
}

namespace {
// The screen as the user sees it, kept as a 24-bit picture beside the test program.
void SaveScreenPicture(const std::string& path)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int rowBytes = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<size_t>(rowBytes) * height, '\0');
    GetDIBits(memory, picture, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + pixels.size()), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof header};
    WriteWholeFile(path, std::string(reinterpret_cast<const char*>(&file), sizeof file) +
                             std::string(reinterpret_cast<const char*>(&header), sizeof header) + pixels);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// A point at the caption's left end, before its text, and one low in the body.
POINT CaptionPoint(HWND note)
{
    RECT r = RectOf(note);
    return {r.left + GetSystemMetrics(SM_CXSIZEFRAME) + 2,
            r.top + GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYSMCAPTION) / 2};
}
POINT DesktopNoteBodyPoint(HWND note)
{
    RECT r = RectOf(note);
    return {(r.left + r.right) / 2, r.bottom - GetSystemMetrics(SM_CYSIZEFRAME) - 6};
}
}

TEST(DesktopNotes, NotesInThreeStylesShowTheirStylesColours)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    // The standard styles' colours on a screen of many colours, which no
    // default for new notes changes.
    SetDisplayColorCount(1u << 24);
    CNoteStyle standard[9];
    BuildStandardNoteStyles(standard, NoteStyleBase{});
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    // Start-up notes are hidden from the picture.
    for (HWND note : NoteWindows(program.ProcessId()))
        ShowWindow(note, SW_HIDE);
    std::vector<HWND> before = NoteWindows(program.ProcessId());
    const int styles[] = {1, 2, 3};
    std::vector<HWND> made;
    for (int style : styles) {
        ASSERT_TRUE(SendWithTimeout(main, WM_HOTKEY, 150 + style, 0));
        for (HWND note : NoteWindows(program.ProcessId())) {
            if (std::find(before.begin(), before.end(), note) == before.end() &&
                std::find(made.begin(), made.end(), note) == made.end())
                made.push_back(note);
        }
    }
    ASSERT_EQ(made.size(), 3u);
    for (size_t i = 0; i < made.size(); ++i)
        SetWindowPos(made[i], HWND_TOPMOST, 60 + 320 * static_cast<int>(i), 120, 280, 220, SWP_SHOWWINDOW);

    for (size_t i = 0; i < made.size(); ++i) {
        const CNoteStyle& style = standard[styles[i]];
        EXPECT_TRUE(WaitUntil([&] { return CloseColour(ScreenPixel(CaptionPoint(made[i])), style.titleBackgroundColor); }))
            << "style " << styles[i] + 1 << ": caption " << std::hex << ScreenPixel(CaptionPoint(made[i])) << " not "
            << style.titleBackgroundColor;
        const POINT body = DesktopNoteBodyPoint(made[i]);
        EXPECT_TRUE(WaitUntil([&] { return CloseColour(ScreenPixel(body), style.backgroundColor); }))
            << "style " << styles[i] + 1 << ": body " << std::hex << ScreenPixel(body) << " not "
            << style.backgroundColor;
    }
    SaveScreenPicture(ProgramFolder() + "\\desktop-notes.bmp");

    // The same notes written in, beside the welcome note: the picture of the
    // program that docs/ keeps.
    const char* const texts[] = {"Shopping\r\n- bread\r\n- apples\r\n- coffee",
                                 "Call Anna about Friday's lunch at 3", "Ideas for the weekend:\r\nthe lake, by bike"};
    for (size_t i = 0; i < made.size(); ++i)
        ASSERT_TRUE(SendWithTimeout(BodyOf(made[i]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(texts[i])));
    for (HWND note : before)
        SetWindowPos(note, HWND_TOP, 60, 400, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    EXPECT_TRUE(SaveScreenshotOf(made.back(), "notes-on-the-desktop"));
    CloseProgram(install, program);
}
