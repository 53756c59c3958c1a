// The real programs of both kinds, one running and a second start of the
// other kind: the second start hands its command line to the running one,
// which makes the note, keeps it in its own data folder and ends when the
// other kind asks it to.
#include <gtest/gtest.h>

#include "support/NoteDriving.h"
#include "support/OtherKind.h"
#include "support/StoredNotes.h"

namespace {
bool HoldsNoteWithText(const std::string& folder, const std::string& text)
{
    return StoredNoteHaving(LoadEveryNote(folder), text) != nullptr;
}
}

TEST(CrossKinds, ASecondStartOfEitherKindHandsItsCommandLineToARunningOneOfTheOther)
{
    SKIP_UNLESS_OTHER_KIND_RUNS();
    ProgramInstall own("own");
    own.AddInstalledDataFiles();
    ProgramInstall other("other");
    other.AddInstalledDataFiles();
    UseOtherKindProgram(other);

    for (const bool otherRuns : {false, true}) {
        const ProgramInstall& running = otherRuns ? other : own;
        const ProgramInstall& second = otherRuns ? own : other;
        const int secondBits = otherRuns ? OwnKindBits() : OtherKindBits();
        const std::string text = "Handed over by the " + std::to_string(secondBits) + "-bit program to the " +
                                 (otherRuns ? "running one of the other kind" : "running one of this test's kind");
        SCOPED_TRACE(text);
        RunningProgram program(running, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        EXPECT_NE(NewNoteFromCommandLine(second, program.ProcessId(), text), nullptr);
        CloseProgram(second, program);
        EXPECT_TRUE(HoldsNoteWithText(running.Path(), text));
        EXPECT_FALSE(HoldsNoteWithText(second.Path(), text));
    }
}
