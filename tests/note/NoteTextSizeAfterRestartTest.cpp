// Text typed into a new note is the size from the moment it is typed that it
// has after the tray's Exit and the next start: the control reports the same
// size, and the screen shows the same lines, as wide and as far apart; the
// line made bold with Ctrl+B shows more ink than the same words plain, before
// and after. A second note holds the focus, so that no caret is drawn in the
// first.
#include <windows.h>

#include <richedit.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/KeyPresses.h"
#include "support/ListViewDriving.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
// Three lines of the same words, without letters that reach below the line,
// so that each line's ink stays apart from the next.
const char kLine[] = "Words made bold";
const int kLines = 3;
const size_t kBoldLine = 1;
const char kOtherNoteText[] = "Elsewhere";

// The size of the first line's text as the running program's control
// reports it; 0 when it could not be read.
LONG TypedTextTwips(DWORD process, HWND body)
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    RemoteBlock block(process, sizeof format);
    const LONG end = static_cast<LONG>(sizeof kLine - 1);
    if (!SendWithTimeout(body, EM_SETSEL, 0, end) || !block.Write(&format, sizeof format) ||
        !SendWithTimeout(body, EM_GETCHARFORMAT, SCF_SELECTION, block.Param()) || !block.Read(&format, sizeof format))
        return 0;
    SendWithTimeout(body, EM_SETSEL, -1, -1);
    return (format.dwMask & CFM_SIZE) ? format.yHeight : 0;
}

// A line of text as the screen shows it in the body: its rows and columns
// from the body's top left, and how many pixels differ from the background.
struct DrawnLine {
    int top = 0, height = 0, left = 0, right = 0, ink = 0;
    bool operator==(const DrawnLine& other) const
    {
        return top == other.top && height == other.height && left == other.left && right == other.right &&
               ink == other.ink;
    }
};

std::ostream& operator<<(std::ostream& out, const DrawnLine& line)
{
    return out << "{rows " << line.top << "+" << line.height << ", columns " << line.left << "-" << line.right
               << ", ink " << line.ink << "}";
}

// The lines of text the body shows, from the top; the background is the
// colour of its bottom right corner.
std::vector<DrawnLine> DrawnTextLines(HWND body)
{
    const RECT area = RectOf(body);
    const int width = area.right - area.left;
    const std::vector<COLORREF> pixels = ScreenPixels(area);
    std::vector<DrawnLine> lines;
    if (width <= 0 || pixels.empty())
        return lines;
    const COLORREF background = pixels.back();
    const int rows = static_cast<int>(pixels.size()) / width;
    bool inLine = false;
    for (int y = 0; y < rows; ++y) {
        int ink = 0, left = width, right = -1;
        for (int x = 0; x < width; ++x) {
            if (CloseColour(pixels[static_cast<size_t>(y * width + x)], background))
                continue;
            ++ink;
            left = std::min(left, x);
            right = std::max(right, x);
        }
        if (!ink) {
            inLine = false;
            continue;
        }
        if (!inLine)
            lines.push_back(DrawnLine{y, 0, left, right, 0});
        inLine = true;
        DrawnLine& line = lines.back();
        line.height = y - line.top + 1;
        line.left = std::min(line.left, left);
        line.right = std::max(line.right, right);
        line.ink += ink;
    }
    return lines;
}

// The typed lines once the screen shows them the same twice in a row.
std::vector<DrawnLine> SteadyTextLines(HWND body)
{
    std::vector<DrawnLine> last;
    WaitUntil([&] {
        std::vector<DrawnLine> now = DrawnTextLines(body);
        const bool steady = now.size() == static_cast<size_t>(kLines) && now == last;
        last = now;
        return steady;
    });
    return last;
}

// The other note put beside the note, where it covers none of it, and given
// the focus with a click into its body.
bool FocusBesides(HWND other, HWND note)
{
    const RECT place = RectOf(note), otherPlace = RectOf(other);
    const int width = otherPlace.right - otherPlace.left, gap = 20;
    const int x = place.right + gap + width <= GetSystemMetrics(SM_CXSCREEN) ? place.right + gap
                                                                              : place.left - gap - width;
    return x >= 0 && SetWindowPos(other, nullptr, x, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) &&
           ClickIntoBody(other);
}

// What the control and the screen show of the note, the notes but the other
// one hidden and that one holding the focus; the bold line has clearly more
// ink than each plain one.
struct ShownText {
    LONG twips = 0;
    std::vector<DrawnLine> lines;
};

ShownText ShownTextOf(HWND main, HWND note, HWND other, const char* picture)
{
    DWORD process = 0;
    GetWindowThreadProcessId(note, &process);
    HideNotesBesides(process, main, {note, other});
    EXPECT_TRUE(FocusBesides(other, note)) << picture;
    ShownText shown;
    shown.twips = TypedTextTwips(process, BodyOf(note));
    EXPECT_TRUE(SaveScreenshotOf(note, picture));
    shown.lines = SteadyTextLines(BodyOf(note));
    EXPECT_EQ(shown.lines.size(), static_cast<size_t>(kLines)) << picture;
    for (size_t plain = 0; shown.lines.size() == static_cast<size_t>(kLines) && plain < shown.lines.size(); ++plain) {
        if (plain != kBoldLine) {
            EXPECT_GT(shown.lines[kBoldLine].ink * 10, shown.lines[plain].ink * 13)
                << picture << ": bold " << shown.lines[kBoldLine] << ", plain " << shown.lines[plain];
        }
    }
    return shown;
}

bool ExitThroughTheTrayMenu(HWND main, DWORD process, RunningProgram& program)
{
    // Up goes round to the menu's last entry, Exit.
    HWND tray = OpenTrayMenu(main, process);
    if (!tray)
        return false;
    PressMenuKey(tray, VK_UP);
    PressMenuKey(tray, VK_RETURN);
    DWORD exitCode = 1;
    return program.WaitForExit(&exitCode) && exitCode == 0;
}
}

TEST(NoteTextSizeAfterRestart, TypedTextKeepsItsSizeAndItsLinesAfterExit)
{
    ProgramInstall install("textsize");
    install.AddInstalledDataFiles();
    std::string typed;
    ShownText before;
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const DWORD process = program.ProcessId();
        ASSERT_TRUE(WaitForTheStartsFocus(process));
        HWND note = NewNoteFromMainWindow(main, process);
        ASSERT_NE(note, nullptr);
        HWND body = BodyOf(note);
        ASSERT_TRUE(ClickIntoBody(note));
        PressKeys({VK_CONTROL, 'A'});
        PressKeys({VK_DELETE});
        for (int line = 0; line < kLines; ++line) {
            if (line)
                PressKeys({VK_RETURN});
            TypeOnTheKeyboard(kLine);
        }
        for (int line = 0; line < kLines; ++line)
            typed += std::string(line ? "\r\n" : "") + kLine;
        ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(body) == typed; })) << ReadWindowText(body);
        // The second line selected from its start to its end and made bold,
        // then the caret put back at the end.
        PressKeys({VK_CONTROL, VK_HOME});
        PressKeys({VK_DOWN});
        PressKeys({VK_SHIFT, VK_END});
        PressKeys({VK_CONTROL, 'B'});
        PressKeys({VK_CONTROL, VK_END});
        const LONG end = static_cast<LONG>(typed.size()) - (kLines - 1);
        ASSERT_TRUE(WaitUntil([&] { return ReadSelection(body) == EditSelection{end, end}; }));
        HWND other = NewNoteFromMainWindow(main, process);
        ASSERT_NE(other, nullptr);
        ASSERT_TRUE(ClickIntoBody(other));
        PressKeys({VK_CONTROL, 'A'});
        PressKeys({VK_DELETE});
        TypeOnTheKeyboard(kOtherNoteText);
        ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(BodyOf(other)) == kOtherNoteText; }));
        before = ShownTextOf(main, note, other, "note-text-size-before-exit");
        ASSERT_TRUE(ExitThroughTheTrayMenu(main, process, program));
    }

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    HWND note = WaitForNoteWithText(program.ProcessId(), typed);
    ASSERT_NE(note, nullptr);
    HWND other = WaitForNoteWithText(program.ProcessId(), kOtherNoteText);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(WaitForTheStartsFocus(program.ProcessId()));
    const ShownText after = ShownTextOf(main, note, other, "note-text-size-after-start");
    EXPECT_NE(before.twips, 0);
    EXPECT_EQ(after.twips, before.twips);
    ASSERT_EQ(after.lines.size(), before.lines.size());
    for (size_t line = 0; line < before.lines.size(); ++line)
        EXPECT_EQ(after.lines[line], before.lines[line]) << "line " << line + 1;
    CloseProgram(install, program);
}
