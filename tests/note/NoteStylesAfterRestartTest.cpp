// A note's character styles, made as a user makes them (typed words, all of
// them made bold with Ctrl+A and Ctrl+B, one word slanted with Ctrl+I and one
// underlined with Ctrl+U), are the same after the tray's Exit and the next
// start, each where it was given and nowhere else.
#include <windows.h>

#include <richedit.h>

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
const char kTyped[] = "Bold Slant Lined ";
const char kLastWord[] = "Red";

// Each character's key pressed and let go, Shift held for capitals.
void TypeOnTheKeyboard(const std::string& text)
{
    for (char character : text) {
        const SHORT key = VkKeyScanA(character);
        if (HIBYTE(key) & 1)
            PressKeys({VK_SHIFT, LOBYTE(key)});
        else
            PressKeys({LOBYTE(key)});
    }
}

// The character format of the body's text from first to last, as the
// running program's control reports it for that selection.
struct ShownFormat {
    bool read = false;
    CHARFORMAT2A format{};
};

ShownFormat FormatOf(DWORD process, HWND body, LONG first, LONG last)
{
    ShownFormat shown;
    RemoteBlock block(process, sizeof shown.format);
    shown.format.cbSize = sizeof shown.format;
    shown.read = SendWithTimeout(body, EM_SETSEL, first, last) && block.Write(&shown.format, sizeof shown.format) &&
                 SendWithTimeout(body, EM_GETCHARFORMAT, SCF_SELECTION, block.Param()) &&
                 block.Read(&shown.format, sizeof shown.format);
    return shown;
}

// Every style where it was given, and nowhere else.
void ExpectTheStyles(DWORD process, HWND body, const char* when)
{
    SCOPED_TRACE(when);
    const DWORD effects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE;
    const struct {
        LONG first, last;
        DWORD effect;
    } words[] = {{0, 4, CFE_BOLD}, {5, 10, CFE_BOLD | CFE_ITALIC}, {11, 16, CFE_BOLD | CFE_UNDERLINE}, {17, 20, CFE_BOLD}};
    for (const auto& word : words) {
        const ShownFormat shown = FormatOf(process, body, word.first, word.last);
        ASSERT_TRUE(shown.read);
        EXPECT_EQ(shown.format.dwEffects & effects, word.effect) << "characters " << word.first << " to " << word.last;
    }

    SendWithTimeout(body, EM_SETSEL, 0, 0);
}

bool ExitFromTheTray(HWND main, DWORD process, RunningProgram& program)
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

TEST(NoteStylesAfterRestart, BoldItalicAndUnderlineComeBackAfterExit)
{
    ProgramInstall install("styles");
    install.AddInstalledDataFiles();
    const std::string text = std::string(kTyped) + kLastWord;
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
        TypeOnTheKeyboard(kTyped);
        TypeOnTheKeyboard(kLastWord);
        ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(body) == text; })) << ReadWindowText(body);
        // All of it bold, then word by word from the second: selected with
        // Ctrl+Shift+Right, its style given by its keys, then the caret moved
        // past it.
        PressKeys({VK_CONTROL, 'A'});
        PressKeys({VK_CONTROL, 'B'});
        PressKeys({VK_CONTROL, VK_HOME});
        PressKeys({VK_CONTROL, VK_RIGHT});
        for (BYTE styleKey : {'I', 'U'}) {
            PressKeys({VK_CONTROL, VK_SHIFT, VK_RIGHT});
            PressKeys({VK_CONTROL, styleKey});
            PressKeys({VK_RIGHT});
        }
        PressKeys({VK_CONTROL, VK_END});
        ASSERT_TRUE(WaitUntil([&] { return FormatOf(process, body, 11, 16).format.dwEffects & CFE_UNDERLINE; }));
        ExpectTheStyles(process, body, "before the Exit");
        EXPECT_EQ(ReadWindowText(body), text) << "a style's key typed its character";
        ASSERT_TRUE(SaveScreenshotOf(note, "note-styles-before-exit"));
        ASSERT_TRUE(ExitFromTheTray(main, process, program));
    }

    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    const DWORD process = program.ProcessId();
    HWND note = WaitForNoteWithText(process, text);
    ASSERT_NE(note, nullptr);
    HWND body = BodyOf(note);
    ExpectTheStyles(process, body, "after the start");
    ASSERT_TRUE(SaveScreenshotOf(note, "note-styles-after-start"));
    CloseProgram(install, program);
}
