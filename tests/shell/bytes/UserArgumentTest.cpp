#include <string>

#include <gtest/gtest.h>

#include "shell/bytes/UserArgument.h"

namespace {
const size_t kProgramPath = 30;  // "C:\Program Files\Q\qnpost.exe"-like

UserArgumentCheck Check(const std::string& argument, int count = 2)
{
    return CheckUserArgument(argument, count, "Windows User", kProgramPath);
}
}

TEST(UserArgument, AcceptsTheUserFormsAndStandsInTheWindowsUser)
{
    EXPECT_EQ(Check("/u=Bob").folderName, "Bob");
    EXPECT_EQ(Check("/U=Ann Lee").folderName, "Ann Lee");
    EXPECT_EQ(Check("/u").folderName, "Windows User");
    EXPECT_EQ(Check("/U=").folderName, "Windows User");
    EXPECT_EQ(Check(std::string("/u=") + std::string(25, 'n')).outcome, UserArgumentCheck::kAccepted);
}

TEST(UserArgument, RefusesWithTheTextTheUserIsShown)
{
    for (const char* other : {"/new", "/u:Bob", "Bob"}) {
        UserArgumentCheck check = Check(other);
        EXPECT_EQ(check.outcome, UserArgumentCheck::kUsage) << other;
        EXPECT_EQ(check.refusal, FirstStartUsageText());
    }
    EXPECT_EQ(Check("/u=Bob", 3).outcome, UserArgumentCheck::kUsage);
    EXPECT_EQ(FirstStartUsageText().rfind("The first time you run Quillnet+, please use the following syntax:\r\n", 0),
              0u);

    UserArgumentCheck colon = Check("/u=a:b");
    EXPECT_EQ(colon.outcome, UserArgumentCheck::kInvalidName);
    EXPECT_EQ(colon.refusal.rfind("The \"/u=a:b\" parameter is incorrect because it contains characters not allowed "
                                  "in a folder name (\\ / : * ? < > |)\r\n\r\nThe correct command line is:",
                                  0),
              0u)
        << colon.refusal;

    UserArgumentCheck reserved = Check("/u=QLDATA");
    EXPECT_EQ(reserved.outcome, UserArgumentCheck::kReserved);
    EXPECT_EQ(reserved.refusal.rfind("The \"/u=QLDATA\" command line argument is incorrect because the folder "
                                     "\"QLDATA\" is reserved by Quillnet+.\r\n\r\n",
                                     0),
              0u);
    for (const char* name : {"Backup", "ATTACHED", "Install-Data"})
        EXPECT_EQ(Check(std::string("/u=") + name).outcome, UserArgumentCheck::kReserved) << name;

    std::string name26(26, 'x');
    UserArgumentCheck tooLong = Check("/u=" + name26);
    EXPECT_EQ(tooLong.outcome, UserArgumentCheck::kNameTooLong);
    EXPECT_TRUE(tooLong.warning.empty());
    EXPECT_EQ(tooLong.refusal, "The \"/u=" + name26 + "\" command line argument is incorrect because the \"" + name26 +
                                   "\" name is longer than 25 characters.\r\n\r\nPlease limit the length of the /u=... "
                                   "argument to maximum 25 characters. Thank you.\r\n");

    // A very long name warns first and is then refused; nothing is cut short
    // before it is checked.
    std::string name101(101, 'y');
    UserArgumentCheck veryLong = Check("/u=" + name101);
    EXPECT_EQ(veryLong.outcome, UserArgumentCheck::kNameTooLong);
    EXPECT_EQ(veryLong.warning, "The \"/u=" + name101 + "\" parameter is too long. It will be truncated to 100 "
                                "characters.");

    UserArgumentCheck pathTooLong = CheckUserArgument("/u=" + std::string(200, 'z'), 2, "W", 59);
    EXPECT_EQ(pathTooLong.outcome, UserArgumentCheck::kPathTooLong);
    EXPECT_NE(pathTooLong.refusal.find("parameter is too long(260), exceeds 260 characters."), std::string::npos);
}

TEST(UserArgument, NamesNoFolderMayHaveAreRefused)
{
    for (const char* name : {".", "..", "Bob.", "Bob ", "CON", "nul", "Com1", "LPT9", "aux.txt", "a*b", "a|b",
                             "a\"b", "tab\there"}) {
        EXPECT_TRUE(IsInvalidFolderName(name)) << name;
        EXPECT_EQ(Check(std::string("/u=") + name).outcome, UserArgumentCheck::kInvalidName) << name;
    }
    for (const char* name : {"Bob", "COM10", "console", "a.b", "LPT0", "Ann Lee"})
        EXPECT_FALSE(IsInvalidFolderName(name)) << name;
}
