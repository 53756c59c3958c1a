// A style marked protected protects the note it is put on, whether or not it
// has a text, by Alt+1..9 in the note, by the Alt+Shift+1..9 hotkeys that
// make a note in a style, or from the note settings sheet, as the lock
// command does: without a password the user is told and the note stays plain
// (and is stored); with one, the note is saved at once and no plain text of
// it stays in the memo file. An unprotected style, by key or from the sheet,
// leaves a protected note protected.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "globals/NoteStyle.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "noteprops/NoteSheetDriving.h"
#include "resources/ids/NoteSettingsIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/StyleStorage.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/ProtectedUser.h"
#include "support/StoredNotes.h"

namespace {
const int kStylesEveryTime = 2;
const char kNoPasswordText[] =
    "A note can be locked once you have a password:\r\nGeneral settings..., Security, \"Set password...\".";

const COLORREF kStyleColours[3] = {RGB(250, 200, 200), RGB(200, 250, 200), RGB(200, 200, 250)};
const char kKeyNote[] = "Key words of mine";
const WPARAM kHotkeyThirdStyle = 152;

// In the install's data folder: style 1 protected, with a text; style 2
// plain, without one; style 3 protected, without one; and three notes.
void SeedStylesAndNotes(const ProgramInstall& install, const char* first, const char* second)
{
    CurrentFolder data(install.Path());
    for (int i = 0; i < 3; ++i) {
        CNoteStyle& style = UserSettings().styles[i];
        style = CNoteStyle();
        style.undefined = 0;
        style.backgroundColor = kStyleColours[i];
        style.titleBackgroundColor = RGB(90, 20, 160);
        style.isProtected = i == 1 ? 0 : 1;
        if (i == 0)
            style.SetText("{\\rtf1\\ansi Style words}");
        SaveV6Style(i);
    }
    NotesFreeSlots().Clear();
    const char* texts[3] = {first, second, kKeyNote};
    for (int i = 0; i < 3; ++i) {
        CNoteController note;
        FillTestNote(note, texts[i], 40 + 300 * i, 120);
        SaveNote(note);
    }
}

std::string MemoBytes(const ProgramInstall& install)
{
    return ReadWholeFile(install.File("notes.QPS"));
}

bool Holds(const std::string& bytes, const char* text)
{
    return bytes.find(text) != std::string::npos;
}

// Alt+1..9 typed in the note's body.
void AltDigit(HWND note, char digit)
{
    PostMessageA(BodyOf(note), WM_SYSKEYDOWN, digit, 0x20000000);
}

// The note that the third style's hotkey makes (Alt+Shift+3), once it shows.
HWND NoteOfThirdStyleHotkey(const RunningProgram& program)
{
    const DWORD process = program.ProcessId();
    const std::vector<HWND> before = NoteWindows(process);
    PostMessageA(WaitForMainWindow(program), WM_HOTKEY, kHotkeyThirdStyle, 0);
    return NewNoteBesides(process, before);
}

// The text of the box the program shows, answered; empty when none shows.
std::string ShownBoxText(DWORD process)
{
    return FindTopWindowTitled("#32770", "Quillnet+", process) ? AcknowledgeProgramBox(process) : std::string();
}

// The stored notes in the third style's colour.
std::vector<const CNoteController*> InThirdStyle(const StoredNoteList& stored)
{
    std::vector<const CNoteController*> found;
    for (const auto& note : stored) {
        if (note->m_bodyColor == kStyleColours[2])
            found.push_back(note.get());
    }
    return found;
}

// The sheet of the note, the style's button clicked on its Appearance page, OK.
void LoadStyleInSheet(HWND note, DWORD process, int button)
{
    const NoteSheet open = OpenNoteSheet(note, process, button);
    ASSERT_NE(open.page, nullptr);
    SendWithTimeout(open.page, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(open.page, button)));
    ASSERT_TRUE(PressSheetButton(open.sheet, PSBTN_OK));
}

}

TEST(ProtectedStyles, WithoutAPasswordTheUserIsToldAndTheNoteStaysPlainAndStored)
{
    ProgramInstall install("stylenopassword");
    install.AddInstalledDataFiles();
    SeedStylesAndNotes(install, "Plain words of mine", "Sheet words of mine");
    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = WaitForNoteWithText(process, "Plain words of mine");
        ASSERT_NE(note, nullptr);
        AltDigit(note, '1');
        EXPECT_EQ(AcknowledgeProgramBox(process), kNoPasswordText);
        EXPECT_TRUE(WaitUntil([&] { return ReadWindowText(BodyOf(note)).find("Style words") != std::string::npos; }));

        HWND other = WaitForNoteWithText(process, "Sheet words of mine");
        ASSERT_NE(other, nullptr);
        LoadStyleInSheet(other, process, IDC_APPEARANCE_STYLE_1);
        EXPECT_EQ(AcknowledgeProgramBox(process), kNoPasswordText);

        // The third style has no text: Alt+3 and its hotkey tell the same.
        HWND keyed = WaitForNoteWithText(process, kKeyNote);
        ASSERT_NE(keyed, nullptr);
        AltDigit(keyed, '3');
        EXPECT_EQ(AcknowledgeProgramBox(process), kNoPasswordText);
        EXPECT_NE(NoteOfThirdStyleHotkey(program), nullptr);
        EXPECT_EQ(AcknowledgeProgramBox(process), kNoPasswordText);
        CloseProgram(install, program);
    }
    CurrentFolder data(install.Path());
    const StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* styled = StoredNoteTitled(stored, "Plain words of mine");
    ASSERT_NE(styled, nullptr);
    EXPECT_FALSE(styled->m_protected);
    EXPECT_TRUE(Holds(styled->RichText(), "Style words")) << "stored with the style's text";
    const CNoteController* sheeted = StoredNoteTitled(stored, "Sheet words of mine");
    ASSERT_NE(sheeted, nullptr);
    EXPECT_FALSE(sheeted->m_protected);
    EXPECT_EQ(sheeted->m_bodyColor, kStyleColours[0]) << "the style's looks were taken";
    const std::vector<const CNoteController*> third = InThirdStyle(stored);
    ASSERT_EQ(third.size(), 2u) << "the keyed note and the hotkey's note";
    for (const CNoteController* note : third)
        EXPECT_FALSE(note->m_protected) << note->m_title;
    const CNoteController* keyed = StoredNoteTitled(stored, kKeyNote);
    ASSERT_NE(keyed, nullptr);
    EXPECT_TRUE(Holds(keyed->RichText(), kKeyNote));
}

TEST(ProtectedStyles, WithAPasswordTheNoteIsSavedAtOnceWithoutPlainTextAndStaysProtected)
{
    ProgramInstall install("stylepassword");
    install.AddInstalledDataFiles();
    PrepareProtectingUser(install, kStylesEveryTime);
    SeedStylesAndNotes(install, "Plain words of mine", "Sheet words of mine");
    ASSERT_TRUE(Holds(MemoBytes(install), "Plain words"));
    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = WaitForNoteWithText(process, "Plain words of mine");
        ASSERT_NE(note, nullptr);
        AltDigit(note, '1');
        EXPECT_TRUE(WaitUntil([&] { return !Holds(MemoBytes(install), "Plain words"); }, 10000))
            << "the memo file still holds the plain text";
        EXPECT_EQ(ShownBoxText(process), "") << "no box with a password";

        HWND other = WaitForNoteWithText(process, "Sheet words of mine");
        ASSERT_NE(other, nullptr);
        LoadStyleInSheet(other, process, IDC_APPEARANCE_STYLE_1);
        EXPECT_TRUE(WaitUntil([&] { return !Holds(MemoBytes(install), "Sheet words"); }, 10000))
            << "the memo file still holds the plain text";
        // An unprotected style loaded on the protected note leaves it protected.
        LoadStyleInSheet(note, process, IDC_APPEARANCE_STYLE_2);

        // The third style has no text: by Alt+3 the note is stored at once
        // without its plain text, and so is the note its hotkey makes.
        HWND keyed = WaitForNoteWithText(process, kKeyNote);
        ASSERT_NE(keyed, nullptr);
        AltDigit(keyed, '3');
        EXPECT_TRUE(WaitUntil([&] { return !Holds(MemoBytes(install), "Key words"); }, 10000))
            << "the memo file still holds the plain text";
        ASSERT_NE(NoteOfThirdStyleHotkey(program), nullptr);
        // The hotkey's note is made, styled and saved in one go on the main
        // thread: once that thread answers, the files are read once. Reading
        // them over and over meanwhile would hold them against that save.
        ASSERT_TRUE(SendWithTimeout(WaitForMainWindow(program), WM_NULL, 0, 0));
        EXPECT_EQ(ShownBoxText(process), "") << "no box with a password";
        {
            const StoredNoteList now = LoadEveryNote(install.Path());
            const std::vector<const CNoteController*> third = InThirdStyle(now);
            EXPECT_TRUE(third.size() == 2 && third[0]->m_protected && third[1]->m_protected)
                << "both notes in the third style are stored protected";
        }
        // Alt+2, an unprotected style, leaves the note protected.
        AltDigit(keyed, '2');
        CloseProgram(install, program);
    }
    const std::string memo = MemoBytes(install);
    EXPECT_FALSE(Holds(memo, "Plain words"));
    EXPECT_FALSE(Holds(memo, "Sheet words"));
    EXPECT_FALSE(Holds(memo, "Style words"));
    EXPECT_FALSE(Holds(memo, "Key words"));
    CurrentFolder data(install.Path());
    const StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* styled = StoredNoteTitled(stored, "Plain words of mine");
    ASSERT_NE(styled, nullptr);
    EXPECT_TRUE(styled->m_protected);
    EXPECT_EQ(styled->m_bodyColor, kStyleColours[1]) << "the second style's looks were taken";
    const CNoteController* sheeted = StoredNoteTitled(stored, "Sheet words of mine");
    ASSERT_NE(sheeted, nullptr);
    EXPECT_TRUE(sheeted->m_protected);
    const CNoteController* keyed = StoredNoteTitled(stored, kKeyNote);
    ASSERT_NE(keyed, nullptr);
    EXPECT_TRUE(keyed->m_protected);
    EXPECT_EQ(keyed->m_bodyColor, kStyleColours[1]) << "Alt+2 gave its looks";
    const std::vector<const CNoteController*> third = InThirdStyle(stored);
    ASSERT_EQ(third.size(), 1u) << "the hotkey's note";
    EXPECT_TRUE(third[0]->m_protected);
}
