// The rescue backups are looked for in the backup folder and in the data
// folder, each folder once: a backup folder chosen as the data folder, spelt
// with a closing backslash or in other letters, lists each rescue backup once.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "foundation/BackupFolder.h"
#include "support/CurrentFolder.h"
#include "support/RescueFiles.h"
#include "support/TempFolder.h"
#include "xmlfiles/BackupList.h"

TEST(RescueBackupFolders, ABackupFolderThatIsTheDataFolderIsSearchedOnceHoweverItIsSpelt)
{
    TempFolder folder("rescues");
    CurrentFolder data(folder.Path());
    WriteOneNoteBackup(folder.File("Unstored 20260102030405.QPK"), "Kept once");
    std::string upper = folder.Path();
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    for (const std::string& spelling : {folder.Path(), folder.Path() + "\\", upper}) {
        ASSERT_TRUE(SetCurrentBackupFolder(spelling.c_str()));
        EXPECT_EQ(RescueBackupFolders().size(), 1u) << spelling;
        EXPECT_EQ(BuildRestoreChoices().rescues.size(), 1u) << spelling;
    }
    // A backup folder of its own is searched besides the data folder.
    ASSERT_TRUE(SetCurrentBackupFolder(folder.File("BACKUP").c_str()));
    const RestoreChoices choices = BuildRestoreChoices();
    EXPECT_EQ(choices.trouble, BackupFolderTrouble::kNone);
    EXPECT_EQ(RescueBackupFolders().size(), 2u);
    EXPECT_EQ(choices.rescues.size(), 1u);
}
