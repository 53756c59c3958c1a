// The start-up password on the real program: a "/u=" user whose password is
// on is asked for it before the program starts; the code left by an older
// version moves to the user's record; three wrong tries end the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "globals/MainWindowMessages.h"
#include "shell/StartupPassword.h"
#include "store/FieldAccess.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const char kPasswordDialogTitle[] = "Quillnet+ password";
// The code of the password "secret", as an older version kept it (32
// characters, upper case) and as the users table keeps it.
const char kOldCode[] = "426897C0FFEEDDCCBBAA998877665544";
const char kCode[] = "426897c0";
const int kStartupPasswordEdit = 1125;
const int kOkButton = 1294;

DWORD BobsRecord(CDbfFile& users)
{
    for (users.GoTop(); !users.IsEOF(); users.Skip(1))
        if (ReadTrimmedText(users, "SZUSERNAME") == "Bob" && ReadTrimmedText(users, "SZCOMPUTER") == "Bob")
            return static_cast<DWORD>(users.GetLongValue("WUSERID"));
    return 0;
}

class StartupPassword : public testing::Test {
protected:
    void SetUp() override
    {
        install.AddInstalledDataFiles();
        install.AddTemplateFolder();
        // The first start makes Bob's folder and record.
        RunningProgram first(install, "/u=Bob");
        HWND main = first.WaitForWindow(kMainClass);
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_COMMAND, kCmdExit, 0);
        DWORD exitCode = 1;
        ASSERT_TRUE(first.WaitForExit(&exitCode));

        CurrentFolder bob(install.File("Bob"));
        CUsersTable users;
        users.Open("MAPPINGALL");
        DWORD id = BobsRecord(users);
        ASSERT_NE(id, 0u);
        WriteLogical(users, id, "BRECEIVED1", true);
        users.SetStringValue(id, "SZ1", "");
        users.Close();
        CSettingsTable config;
        config.Open("MAPPINGALL");
        config.SetStringValue(3, "SZSOUND", kOldCode);
        config.Close();
    }

    HWND WaitForDialog(const RunningProgram& program)
    {
        HWND dialog = nullptr;
        WaitUntil([&] {
            return (dialog = FindTopWindowTitled("#32770", kPasswordDialogTitle, program.ProcessId())) != nullptr;
        });
        return dialog;
    }

    void Type(HWND dialog, const char* password)
    {
        ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, kStartupPasswordEdit), WM_SETTEXT, 0,
                                    reinterpret_cast<LPARAM>(password)));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kOkButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, kOkButton)));
    }

    // Starts as Bob, types the password and expects the program to run.
    void StartWith(const char* password, bool screenshot = false)
    {
        RunningProgram program(install, "/u=Bob");
        HWND dialog = WaitForDialog(program);
        ASSERT_NE(dialog, nullptr) << password;
        EXPECT_EQ(ReadWindowText(GetDlgItem(dialog, 1296)), "Please enter the Quillnet+ password");
        EXPECT_EQ(ReadWindowText(GetDlgItem(dialog, 1287)), "Password Recovery Service");
        // No note or main window exists before the password is right.
        EXPECT_EQ(FindTopWindow(kMainClass, program.ProcessId()), nullptr);
        if (screenshot) {
            EXPECT_TRUE(SaveScreenshotOf(dialog, "StartupPassword"));
        }
        Type(dialog, password);
        HWND main = program.WaitForWindow(kMainClass);
        ASSERT_NE(main, nullptr) << password;
        PostMessageA(main, WM_COMMAND, kCmdExit, 0);
        DWORD exitCode = 1;
        EXPECT_TRUE(program.WaitForExit(&exitCode));
    }

    std::string BobsCode()
    {
        CurrentFolder bob(install.File("Bob"));
        CUsersTable users;
        users.Open("READ");
        DWORD id = BobsRecord(users);
        users.GoTo(id);
        std::string code = ReadTrimmedText(users, "SZ1");
        users.Close();
        return code;
    }

    std::string OldCodeField()
    {
        CurrentFolder bob(install.File("Bob"));
        CSettingsTable config;
        config.Open("READ");
        config.GoTo(3);
        std::string code = ReadTrimmedText(config, "SZSOUND");
        config.Close();
        return code;
    }

    ProgramInstall install{"password"};
};
}

TEST_F(StartupPassword, TheRightPasswordStartsTheProgramAndThreeWrongOnesEndIt)
{
    // The older version's code is moved into Bob's own record at the first ask.
    StartWith("secret", true);
    EXPECT_EQ(BobsCode(), kCode);
    EXPECT_EQ(OldCodeField(), "");

    // Blanks around the password do not count; the code itself, with "#" and
    // in any case, is the password too.
    StartWith("  secret  ");
    StartWith("426897C0#");
    EXPECT_EQ(BobsCode(), kCode);

    RunningProgram program(install, "/u=Bob");
    HWND dialog = WaitForDialog(program);
    ASSERT_NE(dialog, nullptr);
    const char* const kTexts[] = {"The password is incorrect, please try again (two tries remaining)",
                                  "The password is incorrect, please try again (last try)"};
    for (const char* expected : kTexts) {
        Type(dialog, "Secret");
        EXPECT_EQ(AcknowledgeProgramBox(program.ProcessId()), expected);
    }
    // The third wrong try ends the program without a word.
    Type(dialog, "secret#");
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(BobsCode(), kCode);
}

TEST_F(StartupPassword, AnOldCodeStaysWhereItWasWhenTheUsersRecordCannotBeWritten)
{
    CurrentFolder bob(install.File("Bob"));
    StartupPasswordRecord record;
    {
        CUsersTable users;
        users.Open("READ");
        record.userId = BobsRecord(users);
        users.Close();
    }
    HANDLE held = CreateFileA("users.QPD", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_THROW(MoveOldPasswordCode(record), CGenericException);
    CloseHandle(held);
    EXPECT_EQ(OldCodeField(), kOldCode);
    EXPECT_EQ(record.code, std::string());

    EXPECT_TRUE(MoveOldPasswordCode(record));
    EXPECT_EQ(record.code, std::string(kCode));
    EXPECT_EQ(OldCodeField(), "");
    EXPECT_EQ(BobsCode(), kCode);
    EXPECT_FALSE(MoveOldPasswordCode(record));
}
