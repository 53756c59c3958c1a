// Windows does not wait for the user while it ends the session: between the
// system's question and the program's answer no box comes up, whatever is
// missing; the edit is stored first, and what would have been a box is a
// line of error.txt.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "foundation/FileHelpers.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/TextChecks.h"
#include "UnstoredEditDriving.h"

namespace {
// The box's text, in error.txt in place of the box.
bool LoggedInsteadOfShown(const ProgramInstall& install, const std::string& boxText)
{
    return Contains(ReadWholeFile(install.File("error.txt")), "Not shown while Windows ends the session: " + boxText);
}

// The session's end as Windows sends it, with the program's answer to its
// question; false when the program did not answer (a box waits).
bool EndSession(HWND main, LPARAM how, LRESULT& answer)
{
    return SendWithTimeout(main, WM_QUERYENDSESSION, 0, how, &answer) &&
           SendWithTimeout(main, WM_ENDSESSION, TRUE, how) && SendWithTimeout(main, WM_NULL, 0, 0);
}
}

TEST(QuietSessionEnd, WithTheUsersTableGoneTheEditIsStoredAndNoBoxComesUp)
{
    const std::string edited = std::string("Typed ") + kStoredText;
    for (const LPARAM how : {static_cast<LPARAM>(ENDSESSION_CRITICAL), static_cast<LPARAM>(0)}) {
        SCOPED_TRACE(how ? "a critical end" : "an end asked for");
        ProgramInstall install;
        InstallWithOneNote(install);
        {
            RunningProgram program(install, "");
            HWND main = StartAndEdit(program, "Typed ");
            ASSERT_NE(main, nullptr);
            // A synchronising tool replaces the table by a delete and a rename.
            ASSERT_TRUE(DeleteFileA(install.File("users.QPD").c_str()));
            LRESULT answer = 0;
            ASSERT_TRUE(EndSession(main, how, answer)) << "no answer: a box waits";
            EXPECT_NE(answer, 0) << "what the user wrote is stored: the end is not refused";
            EXPECT_EQ(FindTopWindow("#32770", program.ProcessId()), nullptr)
                << AcknowledgeProgramBox(program.ProcessId());
            // Here the system ends the process.
        }
        EXPECT_TRUE(StoredNoteHas(install.Path(), edited));
        EXPECT_TRUE(LoggedInsteadOfShown(install, "The users.qpd file is missing."));
    }
}

TEST(QuietSessionEnd, ACriticalEndWithNoWayToMakeTheBackupFolderAnswersWithoutABox)
{
    ProgramInstall install;
    InstallWithOneNote(install);
    RunningProgram program(install, "");
    HWND main = StartAndEdit(program, "Kept ");
    ASSERT_NE(main, nullptr);
    // Another program puts a file where the backup folder was; the user's
    // automatic backup at the end is on, as for every new user.
    const std::string folder = install.File("BACKUP");
    if (FileExists(folder.c_str())) {
        ASSERT_TRUE(MoveFileA(folder.c_str(), install.File("BACKUP.old").c_str()));
    }
    WriteWholeFile(folder, "not a folder");

    LRESULT answer = 0;
    ASSERT_TRUE(EndSession(main, ENDSESSION_CRITICAL, answer)) << "no answer: a box waits";
    EXPECT_NE(answer, 0);
    EXPECT_EQ(FindTopWindow("#32770", program.ProcessId()), nullptr) << AcknowledgeProgramBox(program.ProcessId());
    EXPECT_TRUE(LoggedInsteadOfShown(install, "The standard BACKUP location could not be created??"));
    EXPECT_TRUE(StoredNoteHas(install.Path(), std::string("Kept ") + kStoredText));
    EXPECT_EQ(ReadWholeFile(folder), "not a folder");
}
