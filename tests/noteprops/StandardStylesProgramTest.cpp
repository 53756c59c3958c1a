// The nine standard styles of the real program are made from the user's own
// defaults for new notes: a settings table of an older version, without style
// rows, gives the user styles copied from them, stored as style rows.
#include <windows.h>

#include <gtest/gtest.h>

#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/FieldAccess.h"
#include "store/StyleStorage.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/ShortenedTable.h"

namespace {
const COLORREF kTextColour = RGB(18, 52, 86);
const COLORREF kTitleTextColour = RGB(101, 67, 33);

// The defaults of every user of the install, unlike the program's own.
void GiveUsersTheirOwnDefaults(const ProgramInstall& install)
{
    CurrentFolder data(install.Path());
    CUsersTable users;
    users.Open("MAPPINGALL");
    const DWORD count = users.GetRecordCount();
    ASSERT_GT(count, 0u);
    for (DWORD record = 1; record <= count; ++record) {
        WriteColour(users, record, kTextColourFields, kTextColour);
        WriteColour(users, record, kTitleTextColourFields, kTitleTextColour);
        WriteText(users, record, "SZTITLE", "Standard title");
        WriteLogical(users, record, "BSTAYONTOP", true);
        WriteText(users, record, "LFFACENAME", "Courier New");
    }
    users.Close();
}
}

TEST(StandardStylesProgram, AnOlderSettingsTableGivesStylesMadeFromTheUsersDefaults)
{
    ProgramInstall install("standardstyles");
    install.AddInstalledDataFiles();
    {
        RunningProgram first(install, "");
        ASSERT_NE(WaitForMainWindow(first), nullptr);
        CloseProgram(install, first);
    }
    GiveUsersTheirOwnDefaults(install);
    KeepFirstRecords(install.File("config.QPD"), TableGroup::kConfig, 8);
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        CloseProgram(install, program);
    }

    CurrentFolder data(install.Path());
    UserSettings() = CUserSettings();
    LoadV6Styles();
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(testing::Message() << "style " << i + 1);
        const CNoteStyle& style = UserSettings().styles[i];
        EXPECT_EQ(style.undefined, 0u);
        EXPECT_EQ(style.textColor, kTextColour);
        EXPECT_STREQ(style.name, "Standard title");
        EXPECT_EQ(style.stayOnTop, 1u);
        EXPECT_STREQ(style.bodyFont.lfFaceName, "Courier New");
        // The first four keep the user's title text colour; the others have their own.
        if (i < 4) {
            EXPECT_EQ(style.titleTextColor, kTitleTextColour);
        }
    }
    EXPECT_EQ(UserSettings().styles[4].hasBorder, 1u);
}
