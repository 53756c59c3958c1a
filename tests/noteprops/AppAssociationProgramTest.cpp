// The real program with a window of another program (a window of this test
// process, on its own thread): the note's "Associate note with..." dialog
// lists it, OK writes apps.QPD, and the note then follows the window: it
// shows, not activated, while the window is on the screen, hides when it is
// minimised and comes back on restore; the tie survives a restart, a window
// that stops answering freezes nothing, untying the note in the dialog stops
// the following and tying it again starts it, and deleting the note unties it.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/AppWindowDriving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
void StoreHiddenNote(const char* text)
{
    CNoteController note;
    note.m_userId = 1;
    note.m_left = 60;
    note.m_top = 80;
    note.m_width = 240;
    note.m_height = 150;
    note.m_hidden = true;
    note.m_bodyColor = RGB(255, 255, 190);
    lstrcpynA(note.m_title, text, sizeof note.m_title);
    const std::string rtf = std::string("{\\rtf1\\ansi ") + text + "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
}
}

TEST(AppAssociationProgram, ANoteFollowsTheWindowItIsAssociatedWith)
{
    ProgramInstall install("assoc");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreHiddenNote("Follow me");
    }
    HelperAppWindow helper;
    ASSERT_NE(helper.Window(), nullptr);
    const std::string apps = install.File("apps.QPD");
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = NoteWithText(program.ProcessId(), "Follow me");
        ASSERT_NE(note, nullptr);
        EXPECT_FALSE(IsWindowVisible(note));

        HWND dialog = OpenAssociateDialog(note, program.ProcessId());
        ASSERT_NE(dialog, nullptr);
        const int helperLine = HelperLineIn(dialog);
        ASSERT_GE(helperLine, 0);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
        // A click on the line selects it and allows OK.
        ClickAssociateLine(dialog, helperLine);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }));
        EXPECT_TRUE(SaveScreenshotOf(dialog, "associate-note-dialog"));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(apps).find(kHelperAppTitle) != std::string::npos; }));
        EXPECT_NE(ReadWholeFile(apps).find("<icon>AAABAA"), std::string::npos);

        // The window is on the screen: the note comes up, topmost, not activated.
        ASSERT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));
        EXPECT_NE(GetForegroundWindow(), note);
        SaveScreenshot("associated-note-shown");

        ShowWindow(helper.Window(), SW_MINIMIZE);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); }));
        ShowWindow(helper.Window(), SW_SHOWNOACTIVATE);
        EXPECT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));

        // Hidden by hand while the window stays: it stays hidden over the next ticks.
        ASSERT_TRUE(SendWithTimeout(note, WM_COMMAND, kNoteCmdHide, 0));
        EXPECT_FALSE(WaitUntil([&] { return IsWindowVisible(note) != FALSE; }, 5000));

        // A window that no longer answers: the dialog still opens and closes,
        // and the notes still answer.
        helper.Freeze();
        dialog = OpenAssociateDialog(note, program.ProcessId());
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return !ListBoxLines(AssociateListOf(dialog)).empty(); }));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_TRUE(SendWithTimeout(note, WM_NULL, 0, 0, nullptr, 5000));
        helper.Thaw();
        CloseProgram(install, program);
    }

    // After a restart the tie holds; deleting the note takes it out of apps.QPD.
    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    HWND note = NoteWithText(again.ProcessId(), "Follow me");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));

    // Untied through the dialog, the last association gone: the window's
    // tracking stops, and the note stays on the screen while the window is
    // minimised, over several ticks the tracking would have taken.
    ASSERT_TRUE(SetTieThroughDialog(note, again.ProcessId(), false));
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(apps).find(kHelperAppTitle) == std::string::npos; }));
    ShowWindow(helper.Window(), SW_MINIMIZE);
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(note); }, 6000));
    ShowWindow(helper.Window(), SW_SHOWNOACTIVATE);

    // Tied again, with the note hidden by hand: the note comes up for the
    // window, and the tracking runs on: the note follows the window's next
    // minimise and restore.
    ASSERT_TRUE(SendWithTimeout(note, WM_COMMAND, kNoteCmdHide, 0));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); }));
    ASSERT_TRUE(SetTieThroughDialog(note, again.ProcessId(), true));
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(apps).find(kHelperAppTitle) != std::string::npos; }));
    EXPECT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));
    ShowWindow(helper.Window(), SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); }));
    ShowWindow(helper.Window(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));

    ASSERT_TRUE(DeleteNoteWindow(note, again.ProcessId()));
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(apps).find(kHelperAppTitle) == std::string::npos; }));
    EXPECT_NE(ReadWholeFile(install.File("noteman.QPD")).find("<group>"), std::string::npos);
    CloseProgram(install, again);
}
