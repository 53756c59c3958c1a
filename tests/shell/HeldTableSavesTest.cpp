// While another program holds the notes table, a timed save of a hundred
// notes meets it once: one round of tries, the edit in the rescue backup at
// once, and the main window answering as soon as that round is over, as does
// the system's question about the end of the session and its end. Once the
// other program lets go, the next timed save stores everything.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/FileHelpers.h"
#include "store/FileStepRetries.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"
#include "support/bytes/Occurrences.h"
#include "UnstoredEditDriving.h"

namespace {
const int kHeldNotes = 100;
const char kSaveTries[] = " Iteration ";

std::string HeldErrorLog(const ProgramInstall& install)
{
    return ReadWholeFile(install.File("error.txt"));
}

size_t Tries(const ProgramInstall& install)
{
    return Occurrences(HeldErrorLog(install), kSaveTries);
}

// The rescue backups of the backup folder that hold the text.
std::vector<std::string> RescuesHoldingTable(const ProgramInstall& install, const std::string& text)
{
    std::vector<std::string> holding;
    for (const std::string& name : RescueBackupNames(install)) {
        if (Contains(ReadWholeFile(install.File("BACKUP\\" + name)), text))
            holding.push_back(name);
    }
    return holding;
}
}

// The program on a hundred stored notes, with timed saves at an interval
// its own timer does not reach.
class HeldTableSaves : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallWithNotes(install, kHeldNotes);
        SetAutoSaveInterval(install.Path(), kUnreachedSaveIntervalMinutes);
    }

    // A test that stopped early leaves no thread sending.
    void TearDown() override
    {
        if (ticks.joinable())
            ticks.join();
    }

    // The program started, the edit typed into a note and the notes table
    // held by another program, sharing nothing; the main window, or null.
    HWND StartEditAndHold(const std::string& edit)
    {
        program.reset(new RunningProgram(install, ""));
        HWND main = StartAndEdit(*program, edit);
        return main && holder.Hold(install.File("notes.QPD"), kHolderSharesNothing) ? main : nullptr;
    }

    // The ticks of the run's first timed save, which stores every note, go
    // from a thread of their own; the save has begun once error.txt holds
    // its first try.
    bool BeginTimedSave(HWND main)
    {
        ticks = std::thread([this, main] { ticked = SendTimedSaveTicks(main); });
        return WaitUntil([&] { return Tries(install) > 0; });
    }

    // The ticks all answered.
    bool TimedSaveDone()
    {
        ticks.join();
        return ticked;
    }

    ProgramInstall install;
    std::unique_ptr<RunningProgram> program;
    HeldFile holder;
    std::thread ticks;
    bool ticked = false;
};

TEST_F(HeldTableSaves, ATimedSaveTriesAHeldTableOnceForAHundredNotesAndKeepsTheEditAtOnce)
{
    const std::string edited = std::string("Timed ") + kStoredText;
    HWND main = StartEditAndHold("Timed ");
    ASSERT_NE(main, nullptr);
    const DWORD process = program->ProcessId();

    // A plain message sent while the save tries the table is answered while
    // the table is still held.
    EXPECT_TRUE(BeginTimedSave(main));
    EXPECT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    ASSERT_TRUE(TimedSaveDone());
    // One round of tries for all the notes, told once, and the edit in the
    // rescue backup, whose mark tells the next start; no box.
    const std::string log = HeldErrorLog(install);
    EXPECT_EQ(Occurrences(log, kSaveTries), static_cast<size_t>(kFileStepTries)) << log;
    EXPECT_EQ(Occurrences(log, "given up for the rest of this save"), 1u) << log;
    EXPECT_EQ(Occurrences(log, "SaveNote(): "), 0u) << "no note is logged on its own";
    EXPECT_EQ(RescuesHoldingTable(install, edited).size(), 1u);
    EXPECT_EQ(RescueMarkNames(install).size(), 1u);
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);

    // The other program lets go: the next timed save tries the table afresh,
    // stores everything and ends the rescue's stretch (its mark goes, the
    // file stays).
    holder.Release();
    ASSERT_TRUE(SendTimedSaveTicks(main));
    EXPECT_TRUE(StoredNoteHas(install.Path(), edited));
    EXPECT_TRUE(RescueMarkNames(install).empty());
    EXPECT_EQ(RescueBackupNames(install).size(), 1u);
    EXPECT_EQ(Tries(install), static_cast<size_t>(kFileStepTries));
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
    CloseProgram(install, *program);
}

TEST_F(HeldTableSaves, ACriticalEndDuringATimedSaveAndTheSessionsEndAnswerWhileTheTableStaysHeld)
{
    const std::string edited = std::string("Ending ") + kStoredText;
    HWND main = StartEditAndHold("Ending ");
    ASSERT_NE(main, nullptr);
    const DWORD process = program->ProcessId();

    // The system's critical question, sent while the save tries the table,
    // is answered, and by then the edit is in a rescue backup.
    EXPECT_TRUE(BeginTimedSave(main));
    LRESULT answer = 0;
    EXPECT_TRUE(SendWithTimeout(main, WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL, &answer));
    EXPECT_NE(answer, 0);
    EXPECT_FALSE(RescuesHoldingTable(install, edited).empty());
    EXPECT_TRUE(TimedSaveDone());
    // So is the end of the session that follows, the table still held.
    ASSERT_TRUE(SendWithTimeout(main, WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL));
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    // The save, the question and the end of the session each met the table
    // once, whatever the number of notes.
    const std::string log = HeldErrorLog(install);
    EXPECT_EQ(Occurrences(log, kSaveTries), static_cast<size_t>(3 * kFileStepTries)) << log;
    EXPECT_EQ(Occurrences(log, "given up for the rest of this save"), 1u) << log;
    EXPECT_EQ(Occurrences(log, "given up for the rest of this end"), 2u) << log;
    EXPECT_FALSE(RescuesHoldingTable(install, edited).empty());
    EXPECT_FALSE(ProgramBoxShown(process)) << AcknowledgeProgramBox(process);
    // Here the system ends the process.
}
