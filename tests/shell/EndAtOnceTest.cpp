// Whatever another program holds, the program answers the system's question
// about the end of the session at once, with every edit in a file by then: a
// held file costs its tries once in an end rather than once for every note,
// the rescue backup comes before the save, and what keeps nothing of the
// user's comes after the answer. A question let in by the start's password
// prompt waits for nothing on the start's behalf, and the tray's Exit writes
// the rescue backup before its first box.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/FileHelpers.h"
#include "globals/MainWindowMessages.h"
#include "store/FileStepRetries.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/ProtectedUser.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"
#include "support/bytes/Occurrences.h"
#include "UnstoredEditDriving.h"

namespace {
const char kTries[] = " Iteration ";
const char kStartWaits[] = "the start waits";

std::string ErrorLog(const ProgramInstall& install)
{
    return ReadWholeFile(install.File("error.txt"));
}

// The rescue backups of the folder (the install's, or its "BACKUP") that
// hold the text.
std::vector<std::string> RescuesHoldingAtEnd(const ProgramInstall& install, const std::string& folder,
                                        const std::string& text)
{
    const std::string path = folder.empty() ? install.Path() : install.File(folder);
    std::vector<std::string> holding;
    for (const std::string& name : FileNamesMatching(path + "\\Unstored *.QPK")) {
        if (Contains(ReadWholeFile(path + "\\" + name), text))
            holding.push_back(path + "\\" + name);
    }
    return holding;
}

std::vector<std::string> DatedBackups(const ProgramInstall& install)
{
    return FileNamesMatching(install.File("BACKUP\\2*.QPK"));
}

// Another program holds each of the files, sharing nothing.
bool HoldAll(const ProgramInstall& install, const std::vector<std::string>& names, std::vector<HeldFile>& held)
{
    held = std::vector<HeldFile>(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        if (!held[i].Hold(install.File(names[i]), kHolderSharesNothing))
            return false;
    }
    return true;
}

LRESULT AskToEnd(HWND main, LPARAM how)
{
    LRESULT answer = how ? 0 : 1;
    EXPECT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, how, &answer)) << "no answer";
    return answer;
}
}

TEST(EndAtOnce, ACriticalEndWithTablesHeldKeepsTheEditFirstAndTriesTheNotesTableOnce)
{
    const std::vector<std::string> everyTable = {"config.QPD", "config.QPS", "users.QPD",    "notes.QPD",
                                                 "notes.QPS",  "sentto.QPD", "transact.QPD", "sounds.QPD"};
    for (const std::vector<std::string>& heldNames : {std::vector<std::string>{"notes.QPD"}, everyTable}) {
        SCOPED_TRACE(heldNames.size() == 1 ? "the notes table held" : "every table held");
        ProgramInstall install;
        InstallWithNotes(install, 50);
        const std::string edited = std::string("Held ") + kStoredText;
        RunningProgram program(install, "");
        HWND main = StartAndEdit(program, "Held ");
        ASSERT_NE(main, nullptr);
        std::vector<HeldFile> held;
        ASSERT_TRUE(HoldAll(install, heldNames, held));

        EXPECT_NE(AskToEnd(main, ENDSESSION_CRITICAL), 0);
        // By the answer the edit is in a file.
        EXPECT_EQ(RescuesHoldingAtEnd(install, "BACKUP", edited).size(), 1u);
        EXPECT_FALSE(ProgramBoxShown(program.ProcessId())) << AcknowledgeProgramBox(program.ProcessId());
        // Fifty notes, and one round of tries on the table for all of them.
        const std::string log = ErrorLog(install);
        EXPECT_EQ(Occurrences(log, kTries), static_cast<size_t>(kFileStepTries)) << log;
        EXPECT_EQ(Occurrences(log, "given up for the rest of this end"), 1u) << log;

        // The other program lets go before the session ends: the end's own
        // save tries the tables afresh and stores the edit; the rest of the
        // end (the dated backup among it) has come after the answer.
        held.clear();
        ASSERT_TRUE(SendWithTimeout(main, WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL));
        ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
        EXPECT_TRUE(StoredNoteHas(install.Path(), edited));
        EXPECT_EQ(DatedBackups(install).size(), 1u);
        EXPECT_FALSE(ProgramBoxShown(program.ProcessId())) << AcknowledgeProgramBox(program.ProcessId());
        // Here the system ends the process.
    }
}

TEST(EndAtOnce, ARefusedEndGivesUpTheHeldTableForItselfOnlyAndAStoredEndLeavesNoRescue)
{
    ProgramInstall install;
    InstallWithNotes(install, 20);
    const std::string edited = std::string("Asked ") + kStoredText;
    RunningProgram program(install, "");
    HWND main = StartAndEdit(program, "Asked ");
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    {
        HeldFile holder(install.File("notes.QPD"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        EXPECT_EQ(AskToEnd(main, 0), 0) << "the edit cannot be stored: the end is refused";
        EXPECT_EQ(RescuesHoldingAtEnd(install, "BACKUP", edited).size(), 1u);
        EXPECT_EQ(Occurrences(ErrorLog(install), kTries), static_cast<size_t>(kFileStepTries));
        EXPECT_TRUE(Contains(AnswerProgramBox(process, IDNO), "notes.QPD"));
    }
    // The next end tries every file in full again; with the table free it
    // stores the edit, and the rescue backup written on its way goes again.
    TypeAtStart(WaitForNoteWithText(process, edited), "Again ");
    ASSERT_NE(WaitForNoteWithText(process, "Again " + edited), nullptr);
    EXPECT_NE(AskToEnd(main, 0), 0);
    EXPECT_TRUE(StoredNoteHas(install.Path(), "Again " + edited));
    EXPECT_EQ(RescueBackupNames(install).size(), 1u) << "only the refused end's";
    EXPECT_EQ(RescueBackupsLogged(install).size(), 1u);
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
}

TEST(EndAtOnce, AnEndLetInByTheStartsPasswordPromptWaitsForNoHeldTable)
{
    ProgramInstall install("startprompt");
    InstallWithOneNote(install);
    PrepareProtectingUser(install, 2);
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        CNoteController locked;
        FillTestNote(locked, "Locked words", 500, 200);
        locked.m_protected = true;
        locked.m_passwordText = kSecretPasswordText;
        ASSERT_TRUE(SaveNote(locked));
    }
    const std::string edited = std::string("Prompted ") + kStoredText;
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    // The start asks for the locked note's password, and waits there.
    HWND prompt = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        prompt = FindTopWindowTitled("#32770", "  Quillnet+", process);
        return prompt && IsWindowVisible(prompt);
    }));
    HWND main = FindTopWindow(kMainClass, process);
    ASSERT_NE(main, nullptr);
    TypeAtStart(WaitForNoteWithText(process, kStoredText), "Prompted ");
    ASSERT_NE(WaitForNoteWithText(process, edited), nullptr);
    std::vector<HeldFile> held;
    ASSERT_TRUE(HoldAll(install, {"notes.QPD", "sentto.QPD", "transact.QPD", "users.QPD"}, held));
    const size_t waitsBefore = Occurrences(ErrorLog(install), kStartWaits);

    EXPECT_NE(AskToEnd(main, ENDSESSION_CRITICAL), 0);
    EXPECT_EQ(RescuesHoldingAtEnd(install, "BACKUP", edited).size(), 1u);
    EXPECT_EQ(Occurrences(ErrorLog(install), kStartWaits), waitsBefore) << ErrorLog(install);
    EXPECT_TRUE(IsWindow(prompt)) << "the prompt is the user's to answer";
    // Here the system ends the process.
}

TEST(EndAtOnce, TheTrayExitKeepsTheEditBeforeTheBoxOfAnImpossibleBackupFolder)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    const std::string edited = std::string("Exit ") + kStoredText;
    RunningProgram program(install, "");
    HWND main = StartAndEdit(program, "Exit ");
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    // A file stands where the backup folder was, daily backups are on (as
    // for every new user), and a synchronising tool holds the notes table.
    const std::string folder = install.File("BACKUP");
    if (FileExists(folder.c_str())) {
        ASSERT_TRUE(MoveFileA(folder.c_str(), install.File("BACKUP.old").c_str()));
    }
    WriteWholeFile(folder, "not a folder");
    HeldFile holder(install.File("notes.QPD"), kHolderSharesNothing);
    ASSERT_TRUE(holder.Held());

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(box.window, nullptr);
    EXPECT_TRUE(Contains(box.text, "The standard BACKUP location could not be created??")) << box.text;
    EXPECT_TRUE(SaveScreenshotOf(box.window, "ExitBoxWithTheEditKept"));
    // While the first box is up the edit is in the data folder's rescue backup.
    const std::vector<std::string> rescues = RescuesHoldingAtEnd(install, "", edited);
    ASSERT_EQ(rescues.size(), 1u);
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    // The question about the unstored edit names the same file.
    const std::string question = AnswerProgramBox(process, IDNO);
    EXPECT_EQ(FileNameOf(BackupNamedIn(question)), FileNameOf(rescues[0])) << question;
    EXPECT_TRUE(program.IsRunning());
    EXPECT_EQ(ReadWholeFile(folder), "not a folder");
}
