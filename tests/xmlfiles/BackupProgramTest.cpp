// Backups made by the running program: the messages of the tray command.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "support/NoteDriving.h"

TEST(BackupProgram, WithoutNotesNothingIsBackedUp)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    for (HWND note : NoteWindows(process))
        ASSERT_TRUE(DeleteNoteWindow(note, process));
    EXPECT_EQ(BoxAfterCommand(main, process, kCmdBackupAll), "Right now you have no notes to backup");
    EXPECT_TRUE(BackupFiles(install).empty());
    CloseProgram(install, program);
}
