// Whatever moment of a rescue backup's write a crash meets once its bytes are
// whole, in the backup folder or in the data folder, the next start offers
// the newest rescue that was written whole, and its Yes brings back the newest
// edit that file holds. (The file is empty only between its creation and the
// one write of its bytes, a moment too short to stop at by these steps: a
// crash inside the write is RescueRestore's, with a rescue of many notes.)
// The program's window thread is held still and let run a moment at a time
// while the test looks at the folder between two moments, and the program is
// ended as a crash ends it once the write has reached the step wanted.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BackupDriving.h"
#include "RescueDriving.h"
#include "resources/ids/RestoreIds.h"
#include "support/ExtraTries.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/ProgramStepper.h"
#include "support/RescueFiles.h"
#include "support/TextChecks.h"

namespace {
// The steps of the second rescue's write, in the order the program passes them.
enum class RescueWriteStep {
    kNotBegun,
    kInsideTheWrite,       // the file under its passing name, not whole yet
    kWholeUnnamed,         // whole under its passing name, no mark yet
    kMarkedUnnamed,        // whole under its passing name, its mark beside the dated name
    kNamedNotLogged,       // under its dated name, error.txt not told yet
    kLoggedOlderKept,      // error.txt names it, the older one not removed yet
    kDone,
};

const char* StepName(RescueWriteStep step)
{
    switch (step) {
    case RescueWriteStep::kNotBegun: return "not begun";
    case RescueWriteStep::kInsideTheWrite: return "inside the write";
    case RescueWriteStep::kWholeUnnamed: return "whole and unnamed";
    case RescueWriteStep::kMarkedUnnamed: return "marked and unnamed";
    case RescueWriteStep::kNamedNotLogged: return "named before error.txt";
    case RescueWriteStep::kLoggedOlderKept: return "logged, the older one not removed";
    case RescueWriteStep::kDone: return "done";
    }
    return "?";
}

// Where the rescues go, and where the test looks.
struct RescueFolder {
    std::string path;
    bool dataFolder = false;
};

std::vector<std::string> RescuesIn(const RescueFolder& folder)
{
    return FileNamesMatching(folder.path + "\\Unstored *.QPK");
}

// The step of the second rescue's write that the folder shows, the older one
// being there before it began.
RescueWriteStep StepShown(const ProgramInstall& install, const RescueFolder& folder, const std::string& older)
{
    const std::vector<std::string> passing = FileNamesMatching(folder.path + "\\Unstored being written *.tmp");
    if (!passing.empty()) {
        if (!EndsAsWholeRescueBackup(ReadWholeFile(folder.path + "\\" + passing[0])))
            return RescueWriteStep::kInsideTheWrite;
        for (const std::string& mark : RescueMarksIn(folder.path)) {
            if (!FileExists(folder.path + "\\" + mark.substr(0, mark.size() - 4) + ".QPK"))
                return RescueWriteStep::kMarkedUnnamed;
        }
        return RescueWriteStep::kWholeUnnamed;
    }
    for (const std::string& rescue : RescuesIn(folder)) {
        if (rescue == older)
            continue;
        if (!Contains(ReadWholeFile(install.File("error.txt")), folder.path + "\\" + rescue + "\r\n"))
            return RescueWriteStep::kNamedNotLogged;
        return FileExists(folder.path + "\\" + older) ? RescueWriteStep::kLoggedOlderKept : RescueWriteStep::kDone;
    }
    return RescueWriteStep::kNotBegun;
}

// The backup folder put aside, a file in its place: the rescues go to the
// data folder. Undone before the next start, whose restore needs the folder.
const char kBackupFolderAside[] = "BACKUP aside";

// The program on a new install: the edit in a whole rescue backup (the
// older one), a second edit, and the timed save that keeps both, its end
// made while the program is held still and let run a moment at a time;
// ended as a crash ends it once its write shows the step wanted. The step
// last seen.
RescueWriteStep EndAtStep(ProgramInstall& install, bool dataFolder, RescueWriteStep wanted, std::string& older)
{
    InstallWithKeptNote(install);
    const RescueFolder folder{dataFolder ? install.Path() : install.File("BACKUP"), dataFolder};
    HeldFile holder;
    RunningProgram program(install, "");
    HWND main = StartAndEditKeptNote(install, program);
    EXPECT_NE(main, nullptr);
    if (!main)
        return RescueWriteStep::kNotBegun;
    if (dataFolder) {
        EXPECT_TRUE(MoveFileA(install.File("BACKUP").c_str(), install.File(kBackupFolderAside).c_str()));
        WriteWholeFile(install.File("BACKUP"), "not a folder");
    }
    EXPECT_TRUE(holder.Hold(install.File("notes.QPD"), kHolderSharesNothing));
    EXPECT_TRUE(TimedSave(main));
    const std::vector<std::string> first = RescuesIn(folder);
    EXPECT_EQ(first.size(), 1u);
    if (first.size() != 1)
        return RescueWriteStep::kNotBegun;
    older = first[0];
    TypeAtStart(NoteWithText(program.ProcessId(), "Edited Kept note"), "Second ");
    EXPECT_NE(WaitForNoteWithText(program.ProcessId(), "Second Edited Kept note"), nullptr);

    // The older one cannot be removed while another program holds it: the
    // write stays at the step before its removal.
    HeldFile olderHolder;
    if (wanted == RescueWriteStep::kLoggedOlderKept) {
        EXPECT_TRUE(olderHolder.Hold(folder.path + "\\" + older, kHolderSharesReading));
    }
    RescueWriteStep seen = RescueWriteStep::kNotBegun;
    const size_t logged = ReadWholeFile(install.File("error.txt")).size();
    std::thread ticks([main] { TimedSave(main); });
    // The ticks and the save run freely until the save's first try on the
    // held table is in error.txt: its tries, and their pauses, go on for a
    // while before the rescue is written.
    if (WaitUntil([&] { return ReadWholeFile(install.File("error.txt")).size() > logged; })) {
        ProgramStepper stepper(GetWindowThreadProcessId(main, nullptr));
        EXPECT_TRUE(stepper.Held());
        const DWORD start = GetTickCount();
        while (seen < wanted && GetTickCount() - start < kDriverWaitMs && stepper.Step())
            seen = StepShown(install, folder, older);
        // Held still until it has gone.
        program.EndAsACrash();
    } else {
        program.EndAsACrash();
    }
    ticks.join();
    if (dataFolder) {
        EXPECT_TRUE(DeleteFileA(install.File("BACKUP").c_str()));
        EXPECT_TRUE(MoveFileA(install.File(kBackupFolderAside).c_str(), install.File("BACKUP").c_str()));
    }
    return seen;
}

// Tries of each step: a moment of the program may pass more than one step.
const int kStepTries = 5;

// The crash at the step of the write, on an install of its own (a try that
// passes the step goes again on a new one); the next start offers the newest
// whole rescue, and its Yes brings back the newest edit it holds.
void CrashAtStep(RescueWriteStep step, bool dataFolder)
{
    std::unique_ptr<ProgramInstall> install;
    std::string older;
    RescueWriteStep seen = RescueWriteStep::kNotBegun;
    for (int attempt = 1; attempt <= kStepTries && seen != step; ++attempt) {
        install.reset(new ProgramInstall("steps"));
        seen = EndAtStep(*install, dataFolder, step, older);
        ASSERT_FALSE(::testing::Test::HasFailure());
        if (seen != step)
            ReportExtraTry(std::string("the end at the step ") + StepName(step), attempt,
                           std::string("one moment of the program went on to ") + StepName(seen));
    }
    ASSERT_EQ(seen, step) << "no try ended the program at that step";
    const RescueFolder folder{dataFolder ? install->Path() : install->File("BACKUP"), dataFolder};

    RunningProgram program(*install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    const DWORD process = program.ProcessId();
    ShownMessageBox offer = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(offer.window, nullptr);
    // Nothing stays under a passing name; the newest whole rescue is offered.
    EXPECT_TRUE(FileNamesMatching(folder.path + "\\Unstored being written *.tmp").empty());
    std::string offered;
    for (const std::string& rescue : RescuesIn(folder)) {
        if (Contains(offer.text, folder.path + "\\" + rescue + "\r\n"))
            offered = rescue;
    }
    ASSERT_FALSE(offered.empty()) << offer.text;
    EXPECT_NE(offered, older);
    EXPECT_TRUE(Contains(ReadWholeFile(folder.path + "\\" + offered), "Second Edited Kept note"));
    ASSERT_TRUE(AnswerMessageBox(offer, IDYES));
    HWND dialog = WaitForDialog(process, "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RESTORE_REPLACE), BST_CHECKED) << "nothing was stored since";
    ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
    EXPECT_TRUE(Contains(AcknowledgeProgramBox(process), "The restore operation has been successfully"));
    EXPECT_NE(WaitForNoteWithText(process, "Second Edited Kept note"), nullptr);
    CloseProgram(*install, program);
}
}

TEST(RescueCrashSteps, WholeAndUnnamedItIsNamedAndOffered)
{
    CrashAtStep(RescueWriteStep::kWholeUnnamed, false);
}

TEST(RescueCrashSteps, MarkedAndUnnamedItIsNamedAndOffered)
{
    CrashAtStep(RescueWriteStep::kMarkedUnnamed, false);
}

TEST(RescueCrashSteps, NamedBeforeErrorTxtItIsOffered)
{
    CrashAtStep(RescueWriteStep::kNamedNotLogged, false);
}

TEST(RescueCrashSteps, LoggedWithTheOlderNotRemovedItIsOffered)
{
    CrashAtStep(RescueWriteStep::kLoggedOlderKept, false);
}

TEST(RescueCrashSteps, InTheDataFolderWholeAndUnnamedItIsNamedAndOffered)
{
    CrashAtStep(RescueWriteStep::kWholeUnnamed, true);
}

TEST(RescueCrashSteps, InTheDataFolderMarkedAndUnnamedItIsNamedAndOffered)
{
    CrashAtStep(RescueWriteStep::kMarkedUnnamed, true);
}

TEST(RescueCrashSteps, InTheDataFolderNamedBeforeErrorTxtItIsOffered)
{
    CrashAtStep(RescueWriteStep::kNamedNotLogged, true);
}

TEST(RescueCrashSteps, InTheDataFolderLoggedWithTheOlderNotRemovedItIsOffered)
{
    CrashAtStep(RescueWriteStep::kLoggedOlderKept, true);
}
