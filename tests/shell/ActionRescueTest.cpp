// An action that saves notes one by one and cannot store them, another
// program holding a file of the notes, keeps every edit in the rescue backup
// as it ends, as a failed timed save does: the tray's "Hide all notes", and
// the hiding of the notes tied to another program's window when the user
// closes that window, each with the table or the memo file held, the program
// then ended as a crash ends it. The next start offers that rescue backup and
// its Yes brings every edit back; error.txt holds each note's text that the
// memo file could not take.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/FileHelpers.h"
#include "support/AppWindowDriving.h"
#include "support/HeldFile.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/RescueFiles.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"
#include "support/bytes/Occurrences.h"
#include "UnstoredEditDriving.h"

namespace {
const int kNotes = 3;
// "Hide all notes" among the tray menu's items (separators not counted).
const size_t kHideAllItem = 5;
const char kEdit[] = "Edited ";

std::vector<std::string> StoredTexts()
{
    std::vector<std::string> texts = {kStoredText};
    for (int number = 2; number <= kNotes; ++number)
        texts.push_back("Note " + std::to_string(number));
    return texts;
}

// What hides every note at once: the step it needs before the notes are
// edited, and the hiding itself.
class NotesHiding {
public:
    virtual ~NotesHiding() = default;
    virtual void Prepare(DWORD) {}
    virtual void Hide(HWND main, DWORD process) = 0;
};

class TrayHideAll : public NotesHiding {
public:
    void Hide(HWND main, DWORD process) override
    {
        HWND tray = OpenTrayMenu(main, process);
        ASSERT_NE(tray, nullptr);
        const MenuPicture menu(tray, kTrayMenuLayout);
        ASSERT_TRUE(menu.Fits());
        ClickAt(menu.ItemMiddle(kHideAllItem));
    }
};

// Every note tied to another program's window, which the user then closes:
// the program's look at the windows hides the notes.
class TiedWindowClosed : public NotesHiding {
public:
    void Prepare(DWORD process) override
    {
        ASSERT_NE(m_helper.Window(), nullptr);
        std::vector<HWND> notes;
        for (const std::string& text : StoredTexts()) {
            notes.push_back(WaitForNoteWithText(process, text));
            ASSERT_TRUE(SetTieThroughDialog(notes.back(), process, true)) << text;
        }
        // Each note is brought up for the window once, before the keys go to it.
        for (HWND note : notes)
            ASSERT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));
    }
    void Hide(HWND, DWORD) override { ASSERT_TRUE(m_helper.CloseWithKeys()); }

private:
    HelperAppWindow m_helper;
};

// The hiding of edited notes while another program holds the file; the
// program then ended, and started again.
void HideNotesWhileHeld(const std::string& held, NotesHiding& hiding)
{
    ProgramInstall install;
    InstallWithNotes(install, kNotes);
    SetAutoSaveInterval(install.Path(), kUnreachedSaveIntervalMinutes);
    std::string rescue;
    {
        HeldFile holder;
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const DWORD process = program.ProcessId();
        ASSERT_TRUE(WaitForTheStartsFocus(process));
        hiding.Prepare(process);
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        for (const std::string& text : StoredTexts()) {
            TypeAtStart(WaitForNoteWithText(process, text), kEdit);
            ASSERT_NE(WaitForNoteWithText(process, kEdit + text), nullptr) << text;
        }
        ASSERT_TRUE(holder.Hold(install.File(held), kHolderSharesNothing));

        hiding.Hide(main, process);
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        ASSERT_TRUE(WaitUntil([&] {
            for (const std::string& text : StoredTexts()) {
                HWND note = NoteWithText(process, kEdit + text);
                if (!note || IsWindowVisible(note))
                    return false;
            }
            return true;
        }));
        // The action is over once the main window answers again.
        ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
        EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
        const std::vector<std::string> rescues = RescueBackupNames(install);
        ASSERT_EQ(rescues.size(), 1u);
        rescue = rescues[0];
        const std::vector<std::string> logged = RescueBackupsLogged(install);
        ASSERT_EQ(logged.size(), 1u) << "error.txt names it";
        EXPECT_EQ(FileNameOf(logged[0]), rescue);
        EXPECT_EQ(RescueMarkNames(install).size(), 1u);
        const std::string kept = ReadWholeFile(install.File("BACKUP\\" + rescue));
        const std::string log = ReadWholeFile(install.File("error.txt"));
        for (const std::string& text : StoredTexts()) {
            EXPECT_TRUE(Contains(kept, kEdit + text)) << text;
            // Each note the memo file could not take leaves its text, once,
            // also after the file's step was given up.
            if (held == "notes.qps") {
                EXPECT_EQ(Occurrences(log, kEdit + text), 1u) << text;
            }
        }
        // Here the program is ended as a crash ends it, the file still held.
    }
    for (const std::string& text : StoredTexts())
        EXPECT_FALSE(StoredNoteHas(install.Path(), kEdit + text)) << text;

    TakeTheRescueOfferedAtStart(install, rescue);
    for (const std::string& text : StoredTexts())
        EXPECT_TRUE(StoredNoteHas(install.Path(), kEdit + text)) << text;
}
}

TEST(ActionRescue, HideAllNotesWithTheTableHeldKeepsEveryEditForTheNextStart)
{
    TrayHideAll hiding;
    HideNotesWhileHeld("notes.QPD", hiding);
}

TEST(ActionRescue, HideAllNotesWithTheMemoFileHeldKeepsEveryEditAndEachTextInTheLog)
{
    TrayHideAll hiding;
    HideNotesWhileHeld("notes.qps", hiding);
}

TEST(ActionRescue, ClosingTheWindowOfTiedNotesWithTheTableHeldKeepsEveryEditForTheNextStart)
{
    TiedWindowClosed hiding;
    HideNotesWhileHeld("notes.QPD", hiding);
}

TEST(ActionRescue, ClosingTheWindowOfTiedNotesWithTheMemoFileHeldKeepsEveryEditAndEachTextInTheLog)
{
    TiedWindowClosed hiding;
    HideNotesWhileHeld("notes.qps", hiding);
}
