// The real program started while another program holds one of the settings
// files it reads at start (noteman.QPD, apps.QPD, calendar.QPD), sharing
// reading and writing but not deletion, or nothing at all: one box names the
// file and asks to close that program and start again, the start ends with a
// non-zero exit code, and not a byte of the data folder but the log error.txt
// has changed. Once the files are free, the program starts as ever.
#include <windows.h>

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "SettingsFilesDriving.h"
#include "support/CurrentFolder.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
const DWORD kHeldUser = 1;

// The three settings files as the program writes them, a note's group and
// association among them.
void WriteSettingsFiles(const ProgramInstall& install)
{
    CurrentFolder data(install.Path());
    MessageBoxRecorder boxes;
    WriteGroups(install.Path(), kHeldUser, {{8, "Plans"}}, {{8, 77}});
    WriteAssociations(install.Path(), {{77, "Plans - notes.txt"}});
    WriteCalendar(kHeldUser, RGB(12, 34, 56), {kHeldUser});
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
}
}

TEST(HeldDataFiles, AHeldSettingsFileEndsTheStartWithOneBoxAndChangesNothing)
{
    ProgramInstall install("held");
    install.AddInstalledDataFiles();
    WriteSettingsFiles(install);
    const std::map<std::string, std::string> before = DataFilesUnder(install.Path());
    ASSERT_EQ(before.count("noteman.QPD") + before.count("apps.QPD") + before.count("calendar.QPD"), 3u);

    bool pictured = false;
    for (const char* name : {"noteman.QPD", "apps.QPD", "calendar.QPD"}) {
        for (DWORD sharing : {kHolderSharesReadWrite, kHolderSharesNothing}) {
            SCOPED_TRACE(std::string(name) + (sharing ? " shared for reading and writing" : " shared with none"));
            HeldFile held(install.File(name), sharing);
            ASSERT_TRUE(held.Held());
            RunningProgram program(install, "");
            const ShownMessageBox box = WaitForMessageBox(program.ProcessId(), kDriverWaitMs, "Quillnet+");
            ASSERT_NE(box.window, nullptr) << "no box came";
            EXPECT_EQ(box.text, std::string(name) +
                                    " is in use by another program, so Quillnet+ can neither read nor save it.\r\n\r\n"
                                    "Please close the program that uses " +
                                    name + " and start Quillnet+ again.");
            if (!pictured)
                pictured = SaveScreenshotOf(box.window, "held-settings-file");
            AnswerMessageBox(box, IDOK);
            // One box: the start ends once it is answered.
            DWORD exitCode = 0;
            ASSERT_TRUE(program.WaitForExit(&exitCode));
            EXPECT_EQ(exitCode, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
            EXPECT_EQ(FindTopWindow(kMainClass, program.ProcessId()), nullptr);
            held.Release();
            EXPECT_TRUE(DataFilesUnder(install.Path()) == before) << "a file of the data folder changed";
        }
    }
    EXPECT_TRUE(pictured);

    // With the files free, the program starts without a word.
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    EXPECT_FALSE(ProgramBoxShown(program.ProcessId()));
    CloseProgram(install, program);
    for (const char* name : {"noteman.QPD", "apps.QPD", "calendar.QPD"})
        EXPECT_TRUE(FileExists(install.File(name))) << name;
}
