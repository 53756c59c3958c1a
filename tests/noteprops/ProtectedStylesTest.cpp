// A style marked protected protects the note it is put on, by Alt+1 or from
// the note settings sheet, as the lock command does: without a password the
// user is told and the note stays plain (and is stored); with one, the note
// is saved at once and no plain text of it stays in the memo file. Loading
// an unprotected style on a protected note leaves it protected.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

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
const int kEveryTime = 2;
const char kNoPasswordText[] =
    "A note can be locked once you have a password:\r\nGeneral settings..., Security, \"Set password...\".";

// In the install's data folder: style 1 protected, with a text; style 2
// plain, without one; and the two notes.
void SeedStylesAndNotes(const ProgramInstall& install, const char* first, const char* second)
{
    CurrentFolder data(install.Path());
    for (int i = 0; i < 2; ++i) {
        CNoteStyle& style = UserSettings().styles[i];
        style = CNoteStyle();
        style.undefined = 0;
        style.backgroundColor = i == 0 ? RGB(250, 200, 200) : RGB(200, 250, 200);
        style.titleBackgroundColor = RGB(90, 20, 160);
        style.isProtected = i == 0 ? 1 : 0;
        if (i == 0)
            style.SetText("{\\rtf1\\ansi Style words}");
        SaveV6Style(i);
    }
    NotesFreeSlots().Clear();
    CNoteController note;
    FillTestNote(note, first, 40, 120);
    SaveNote(note);
    CNoteController other;
    FillTestNote(other, second, 340, 120);
    SaveNote(other);
}

std::string MemoBytes(const ProgramInstall& install)
{
    return ReadWholeFile(install.File("notes.QPS"));
}

bool Holds(const std::string& bytes, const char* text)
{
    return bytes.find(text) != std::string::npos;
}

// Alt+1 typed in the note's body.
void AltOne(HWND note)
{
    PostMessageA(BodyOf(note), WM_SYSKEYDOWN, '1', 0x20000000);
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
        AltOne(note);
        EXPECT_EQ(AcknowledgeProgramBox(process), kNoPasswordText);
        EXPECT_TRUE(WaitUntil([&] { return ReadWindowText(BodyOf(note)).find("Style words") != std::string::npos; }));

        HWND other = WaitForNoteWithText(process, "Sheet words of mine");
        ASSERT_NE(other, nullptr);
        LoadStyleInSheet(other, process, IDC_APPEARANCE_STYLE_1);
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
    EXPECT_EQ(sheeted->m_bodyColor, RGB(250, 200, 200)) << "the style's looks were taken";
}

TEST(ProtectedStyles, WithAPasswordTheNoteIsSavedAtOnceWithoutPlainTextAndStaysProtected)
{
    ProgramInstall install("stylepassword");
    install.AddInstalledDataFiles();
    PrepareProtectingUser(install, kEveryTime);
    SeedStylesAndNotes(install, "Plain words of mine", "Sheet words of mine");
    ASSERT_TRUE(Holds(MemoBytes(install), "Plain words"));
    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = WaitForNoteWithText(process, "Plain words of mine");
        ASSERT_NE(note, nullptr);
        AltOne(note);
        EXPECT_TRUE(WaitUntil([&] { return !Holds(MemoBytes(install), "Plain words"); }, 10000))
            << "the memo file still holds the plain text";
        EXPECT_EQ(FindTopWindowTitled("#32770", "Quillnet+", process), nullptr) << "no box with a password";

        HWND other = WaitForNoteWithText(process, "Sheet words of mine");
        ASSERT_NE(other, nullptr);
        LoadStyleInSheet(other, process, IDC_APPEARANCE_STYLE_1);
        EXPECT_TRUE(WaitUntil([&] { return !Holds(MemoBytes(install), "Sheet words"); }, 10000))
            << "the memo file still holds the plain text";
        // An unprotected style loaded on the protected note leaves it protected.
        LoadStyleInSheet(note, process, IDC_APPEARANCE_STYLE_2);
        CloseProgram(install, program);
    }
    const std::string memo = MemoBytes(install);
    EXPECT_FALSE(Holds(memo, "Plain words"));
    EXPECT_FALSE(Holds(memo, "Sheet words"));
    EXPECT_FALSE(Holds(memo, "Style words"));
    CurrentFolder data(install.Path());
    const StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* styled = StoredNoteTitled(stored, "Plain words of mine");
    ASSERT_NE(styled, nullptr);
    EXPECT_TRUE(styled->m_protected);
    EXPECT_EQ(styled->m_bodyColor, RGB(200, 250, 200)) << "the second style's looks were taken";
    const CNoteController* sheeted = StoredNoteTitled(stored, "Sheet words of mine");
    ASSERT_NE(sheeted, nullptr);
    EXPECT_TRUE(sheeted->m_protected);
}
