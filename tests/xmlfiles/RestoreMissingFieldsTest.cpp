// A backup whose notes lack their elements, restored on the running program:
// the notes come back with default values, every missing field is written to
// error.txt, a silent import shows no box, and a restore from the tray tells
// it in one box before the box of the notes restored.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "resources/ids/RestoreIds.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/bytes/Occurrences.h"

namespace {
const char kMissingFieldsBackupName[] = "202603050905.QPK";
const char kNoText[] = "The plain text content of the restored note was not found??";

// Three notes that hold nothing but their number, and the list of computers.
const char kEmptyNotesBackup[] =
    "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>\r\n"
    "<backup>\r\n"
    "   <note><noteID>1</noteID></note>\r\n"
    "   <note><noteID>2</noteID></note>\r\n"
    "   <note><noteID>3</noteID></note>\r\n"
    "   <computers>\r\n"
    "      <computer><computer_name>DESK</computer_name><alias>Desk</alias></computer>\r\n"
    "   </computers>\r\n"
    "</backup>\r\n";

size_t NotesWithoutText(DWORD process)
{
    size_t count = 0;
    for (HWND note : NoteWindows(process))
        count += ReadWindowText(BodyOf(note)).find(kNoText) != std::string::npos;
    return count;
}
}

TEST(RestoreMissingFields, ASilentImportShowsNoBoxATrayRestoreOneAndErrorTxtListsEveryField)
{
    ProgramInstall install("emptynotes");
    install.AddInstalledDataFiles();
    ASSERT_TRUE(CreateDirectoryA(install.File("BACKUP").c_str(), nullptr));
    WriteWholeFile(BackupFile(install, kMissingFieldsBackupName), kEmptyNotesBackup);
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();

    // Silent: the three notes, with default values, and not a box.
    {
        RunningProgram second(install, std::string("/importSilently BACKUP\\") + kMissingFieldsBackupName);
        ASSERT_TRUE(WaitUntil([&] { return NotesWithoutText(process) == 3 || ProgramBoxShown(process); }));
        EXPECT_FALSE(ProgramBoxShown(process)) << FindTopWindowTitled("#32770", "Quillnet+", process);
        DWORD exitCode = 1;
        ASSERT_TRUE(second.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    EXPECT_EQ(NotesWithoutText(process), 3u);
    std::string log = ReadWholeFile(install.File("error.txt"));
    for (int k = 1; k <= 3; ++k) {
        const std::string entry = std::string(kMissingFieldsBackupName) + ": note " + std::to_string(k) +
                                  " lacks 61 fields, restored with default values: is_stay_on_top, has_border, ";
        EXPECT_NE(log.find(entry), std::string::npos) << entry << "\n" << log;
    }
    for (const char* field : {"textarea backcolor_red", "title text", "textarea font pitch_and_family",
                              "title font name", "alarm remind_again unit"})
        EXPECT_EQ(Occurrences(log, std::string(", ") + field + ","), 3u) << field;
    EXPECT_EQ(Occurrences(log, ", is_locked\r\n"), 3u);

    // From the tray: one box about the fields, then the one of the notes restored.
    PostMessageA(main, WM_COMMAND, kCmdFirstBackup, 0);
    HWND dialog = WaitForDialog(process, "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    SendWithTimeout(GetDlgItem(dialog, IDC_RESTORE_APPEND), BM_CLICK, 0, 0);
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));
    ShownMessageBox fields = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_NE(fields.window, nullptr);
    EXPECT_EQ(fields.text, "3 notes of the backup lacked some of their fields; default values were used for them "
                           "(is_stay_on_top, has_border, left, top, width and others).\r\n\r\n"
                           "Every missing field is listed in error.txt.");
    EXPECT_TRUE(SaveScreenshotOf(fields.window, "restore-missing-fields"));
    EXPECT_EQ(NotesWithoutText(process), 6u) << "the box comes once the notes are made";
    ASSERT_TRUE(AnswerMessageBox(fields, IDOK));
    EXPECT_EQ(AcknowledgeProgramBox(process),
              "The restore operation has been successfully completed.\r\n\r\n           3 notes were restored.");
    EXPECT_FALSE(ProgramBoxShown(process));
    log = ReadWholeFile(install.File("error.txt"));
    EXPECT_EQ(Occurrences(log, " lacks 61 fields, restored with default values: "), 6u);
    CloseProgram(install, program);
}
