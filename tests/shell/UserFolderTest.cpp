// "/u=" user folders on the real program: made and filled from "QlData", locked
// by this computer while the program runs, guarded against a second computer,
// and refused for names no folder may have.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"

namespace {
std::string ComputerLockName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return std::string(name) + ".lck";
}

// The box of a start that must stop: its text, after answering it.
std::string RefusalOf(const ProgramInstall& install, const std::string& arguments, int answer = IDOK)
{
    RunningProgram program(install, arguments);
    ShownMessageBox box = WaitForMessageBox(program.ProcessId());
    EXPECT_NE(box.window, nullptr) << arguments;
    if (box.window) {
        EXPECT_TRUE(AnswerMessageBox(box, answer)) << box.text;
    }
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    return box.text;
}

class UserFolders : public testing::Test {
protected:
    void SetUp() override
    {
        install.AddInstalledDataFiles();
        install.AddTemplateFolder();
        WriteWholeFile(install.File("QlData\\style1.rtf"), "{\\rtf1 style one}");
        CreateDirectoryA(install.File("QlData\\TEXTURES").c_str(), nullptr);
        WriteWholeFile(install.File("QlData\\TEXTURES\\wood.bmp"), "BM picture");
    }
    ProgramInstall install;
};
}

TEST_F(UserFolders, AUserFolderIsFilledAndLockedWhileTheProgramRuns)
{
    const std::string bob = install.File("Bob");
    {
        RunningProgram first(install, "/u=Bob");
        ASSERT_NE(first.WaitForWindow(kMainClass), nullptr);
        // The tables the start does not write are the template's copies.
        for (const char* name : {"config.QPS", "notes.QPD", "notes.QPS", "sentto.QPD", "webSearch.QPD",
                                 "transact.QPD"}) {
            EXPECT_TRUE(ReadWholeFile(bob + "\\" + name) == ReadWholeFile(install.File(std::string("QlData\\") + name)))
                << name;
        }
        EXPECT_TRUE(FileExists(bob + "\\users.QPD"));
        EXPECT_TRUE(FileExists(bob + "\\config.QPD"));
        EXPECT_EQ(ReadWholeFile(bob + "\\style1.qpd"), "{\\rtf1 style one}");
        EXPECT_EQ(ReadWholeFile(bob + "\\TEXTURES\\wood.bmp"), "BM picture");
        EXPECT_TRUE(FileExists(bob + "\\CHAT"));
        std::string lock = ReadWholeFile(bob + "\\" + ComputerLockName());
        EXPECT_EQ(lock.rfind("     This file is used by Quillnet+ when running with the /u=AUserName command line "
                             "argument.\r\n",
                             0),
                  0u);
        CloseProgram(install, first);
    }
    EXPECT_FALSE(FileExists(bob + "\\" + ComputerLockName()));
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));

    // Another computer's lock asks first; No stops and leaves the lock alone.
    WriteWholeFile(bob + "\\OTHERPC.lck", "lock");
    std::string question = RefusalOf(install, "/u=Bob", IDNO);
    EXPECT_EQ(question.rfind("     Caution: The notes you are attempting to access appear to be locked by another\r\n"
                             "user running Quillnet+ from another computer named 'OTHERPC'.",
                             0),
              0u)
        << question;
    EXPECT_NE(question.find("Are you sure you want to continue?"), std::string::npos);
    EXPECT_TRUE(FileExists(bob + "\\OTHERPC.lck"));
    EXPECT_FALSE(FileExists(bob + "\\" + ComputerLockName()));

    // Yes takes the folder over.
    RunningProgram takeOver(install, "/U=Bob");
    ShownMessageBox box = WaitForMessageBox(takeOver.ProcessId());
    ASSERT_TRUE(AnswerMessageBox(box, IDYES));
    ASSERT_NE(takeOver.WaitForWindow(kMainClass), nullptr);
    EXPECT_FALSE(FileExists(bob + "\\OTHERPC.lck"));
    EXPECT_TRUE(FileExists(bob + "\\" + ComputerLockName()));
    CloseProgram(install, takeOver);
}

TEST_F(UserFolders, NamesNoUserFolderMayHaveAreRefused)
{
    EXPECT_NE(RefusalOf(install, "/u=" + std::string(26, 'n')).find("name is longer than 25 characters."),
              std::string::npos);
    EXPECT_NE(RefusalOf(install, "/u=Backup").find("the folder \"Backup\" is reserved by Quillnet+."),
              std::string::npos);
    for (const char* bad : {"/u=a:b", "/u=CON", "/u=..", "\"/u=dot.\""}) {
        EXPECT_NE(RefusalOf(install, bad).find("contains characters not allowed in a folder name"), std::string::npos)
            << bad;
    }
    EXPECT_EQ(RefusalOf(install, "/u=Bob extra").rfind("The first time you run Quillnet+", 0), 0u);
    EXPECT_FALSE(FileExists(install.File("Bob")));
}
