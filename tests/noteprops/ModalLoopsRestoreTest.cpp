// A restore from a second start ("/replaceSilently") while one of a note's
// modal windows is open closes every note: the note settings sheet and the
// password prompt end without touching the note they were opened for, and
// the program goes on with the restored notes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "globals/MainWindowMessages.h"
#include "noteprops/NoteSheetDriving.h"
#include "resources/ids/NoteSettingsIds.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/ProtectedUser.h"
#include "support/StoredNotes.h"


namespace {
const char kPromptTitle[] = "  Quillnet+";
const int kEveryTime = 2;

void StoreModalNote(const char* text, LONG left, bool isProtected, bool hidden)
{
    CNoteController note;
    FillTestNote(note, text, left, 120);
    note.m_hidden = hidden;
    note.m_protected = isProtected;
    note.m_passwordText = kSecretPasswordText;
    SaveNote(note);
}

// The backup the restore brings back: the notes as they are at the start.
void BackUpNotes(const ProgramInstall& install)
{
    RunToEnd(install, "/backup trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesA(install.File("trip.QPK").c_str()) != INVALID_FILE_ATTRIBUTES; }));
}

// The program still answers and shows the note of the backup.
void ExpectRestoredAndAlive(const ProgramInstall& install, RunningProgram& program, const char* text)
{
    EXPECT_TRUE(program.IsRunning());
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_NE(WaitForNoteWithText(program.ProcessId(), text), nullptr);
    CloseProgram(install, program);
}
}

TEST(ModalLoopsRestore, TheNoteSettingsSheetOutlivesItsNoteClosedByARestore)
{
    ProgramInstall install("sheetrestore");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreModalNote("Sheet note", 80, false, false);
    }
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    const DWORD process = program.ProcessId();
    HWND note = WaitForNoteWithText(process, "Sheet note");
    ASSERT_NE(note, nullptr);
    BackUpNotes(install);

    const NoteSheet open = OpenNoteSheet(note, process, IDC_APPEARANCE_TITLE);
    ASSERT_NE(open.page, nullptr);
    SendWithTimeout(GetDlgItem(open.page, IDC_APPEARANCE_TITLE), WM_SETTEXT, 0,
                    reinterpret_cast<LPARAM>("Title from the sheet"));
    RunToEnd(install, "/replaceSilently trip.QPK");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(note); })) << "the restore closed the note";
    // The sheet, when it is still there, is pressed OK: it has no note to
    // apply to, and the restored note keeps its own title.
    if (IsWindow(open.sheet))
        PostMessageA(open.sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(open.sheet); }));
    ExpectRestoredAndAlive(install, program, "Sheet note");
    CurrentFolder data(install.Path());
    const StoredNoteList stored = LoadEveryNote(install.Path());
    EXPECT_NE(StoredNoteTitled(stored, "Sheet note"), nullptr);
    EXPECT_EQ(StoredNoteTitled(stored, "Title from the sheet"), nullptr);
}

TEST(ModalLoopsRestore, ThePasswordPromptOutlivesItsNoteClosedByARestore)
{
    ProgramInstall install("promptrestore");
    install.AddInstalledDataFiles();
    PrepareProtectingUser(install, kEveryTime);
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreModalNote("Open words", 60, false, false);
        StoreModalNote("Locked words", 360, true, true);
    }
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    ASSERT_NE(WaitForNoteWithText(process, "Open words"), nullptr);
    BackUpNotes(install);
    // Shown, the hidden locked note asks for its password.

    PostMessageA(main, WM_COMMAND, kCmdShowAll, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindTopWindowTitled("#32770", kPromptTitle, process) != nullptr; }));
    RunToEnd(install, "/replaceSilently trip.QPK");
    // The restored locked note may ask again; every prompt is cancelled.
    EXPECT_TRUE(WaitUntil([&] {
        HWND open = FindTopWindowTitled("#32770", kPromptTitle, process);
        if (open)
            PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
        return open == nullptr && program.IsRunning() && NoteWithText(process, "Open words") != nullptr;
    }));
    ExpectRestoredAndAlive(install, program, "Open words");
}
