// An action that saves notes one by one and cannot store them, another
// program holding a file of the notes, keeps every edit in the rescue backup
// as it ends, as a failed timed save does: the tray's "Hide all notes" with
// the table or the memo file held, the program then ended as a crash ends
// it. The next start offers that rescue backup and its Yes brings every edit
// back; error.txt holds each note's text that the memo file could not take.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/FileHelpers.h"
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

// The tray's "Hide all notes" on edited notes while another program holds
// the file; the program then ended, and started again.
void HideAllNotesWhileHeld(const std::string& held)
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
        for (const std::string& text : StoredTexts()) {
            TypeAtStart(WaitForNoteWithText(process, text), kEdit);
            ASSERT_NE(WaitForNoteWithText(process, kEdit + text), nullptr) << text;
        }
        ASSERT_TRUE(holder.Hold(install.File(held), kHolderSharesNothing));

        HWND tray = OpenTrayMenu(main, process);
        ASSERT_NE(tray, nullptr);
        const MenuPicture menu(tray, kTrayMenuLayout);
        ASSERT_TRUE(menu.Fits());
        ClickAt(menu.ItemMiddle(kHideAllItem));
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
    HideAllNotesWhileHeld("notes.QPD");
}

TEST(ActionRescue, HideAllNotesWithTheMemoFileHeldKeepsEveryEditAndEachTextInTheLog)
{
    HideAllNotesWhileHeld("notes.qps");
}
