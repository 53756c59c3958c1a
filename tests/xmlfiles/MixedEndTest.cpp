// A replace that ends with neither set of data files whole, while the Note
// Manager is open: the program writes nothing more, stops listening before it
// says so, and ends after its own box with no other box (with none at all for
// a silent request), its Note Manager's close logged rather than saved.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "notemanager/NoteManagerController.h"
#include "resources/ids/RestoreIds.h"
#include "support/HeldFile.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"

namespace {
const char kStoredText[] = "Stored before the replace";
const char kBackupName[] = "202601020930.QPK";

// One stored note, and a backup of two notes both in the backup folder (the
// tray's Restore submenu lists it) and beside the data files.
void PrepareMixedEndInstall(ProgramInstall& install)
{
    install.AddInstalledDataFiles();
    StoreNote(install, [](CNoteController& note) { FillTestNote(note, kStoredText, 100, 100); });
    std::vector<BackupNote> notes;
    LONG top = 300;
    for (const char* text : {"From the backup one", "From the backup two"}) {
        BackupNote note;
        note.title = text;
        note.content = std::string("{\\rtf1\\ansi ") + text + "}";
        note.left = 100;
        note.top = top;
        top += 40;
        notes.push_back(note);
    }
    ASSERT_TRUE(CreateDirectoryA(install.File("BACKUP").c_str(), nullptr));
    WriteBackupFile(install.File(std::string("BACKUP\\") + kBackupName), notes);
    WriteBackupFile(install.File("trip.QPK"), notes);
}

// Another program makes the replace end mixed, whatever the timing: it holds
// the staged copy of the notes table, sharing read and write but not its
// move, so the new table cannot go in; and a folder stands where the memo
// file's bytes of before are copied to go back, so the memo file, already
// replaced, cannot be given them back.
class MixedReplace {
public:
    explicit MixedReplace(const ProgramInstall& install)
    {
        WriteWholeFile(install.File("notes.QPD.put"), "");
        m_staged.Hold(install.File("notes.QPD.put"), kHolderSharesReadWrite);
        m_blocked = CreateDirectoryA(install.File("notes.qps.back").c_str(), nullptr) != FALSE;
    }
    bool Ready() const { return m_staged.Held() && m_blocked; }

private:
    HeldFile m_staged;
    bool m_blocked = false;
};

HWND OpenNoteManager(HWND main, DWORD process)
{
    PostMessageA(main, WM_COMMAND, kCmdNoteManager, 0);
    HWND manager = nullptr;
    WaitUntil([&] {
        manager = FindTopWindowTitled("#32770", kNoteManagerTitle, process);
        return manager && IsWindowVisible(manager);
    });
    return manager;
}

// Until the program has ended: true when no box of the program came meanwhile.
bool EndsWithoutABox(const RunningProgram& program, std::string& box)
{
    bool shown = false;
    EXPECT_TRUE(WaitUntil([&] {
        shown = ProgramBoxShown(program.ProcessId());
        return shown || !program.IsRunning();
    }));
    if (shown)
        box = WaitForMessageBox(program.ProcessId(), 0, "Quillnet+").text;
    return !shown;
}

class MixedEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareMixedEndInstall(install);
        program = std::make_unique<RunningProgram>(install, "");
        main = WaitForMainWindow(*program);
        ASSERT_NE(main, nullptr);
        process = program->ProcessId();
        ASSERT_NE(WaitForNoteWithText(process, kStoredText), nullptr);
        ASSERT_NE(OpenNoteManager(main, process), nullptr);
    }

    void ExpectEndedWritingNothing()
    {
        DWORD exitCode = 0;
        ASSERT_TRUE(program->WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 3u);
        const std::string log = ReadWholeFile(install.File("error.txt"));
        EXPECT_TRUE(Contains(log, "the Note Manager's settings were not saved")) << log;
        // The closing windows skip their saves: none even tries to write.
        EXPECT_FALSE(Contains(log, "Not written: ")) << log;
        EXPECT_TRUE(FileExists(install.File("replacing.lst")));
    }

    ProgramInstall install;
    std::unique_ptr<RunningProgram> program;
    HWND main = nullptr;
    DWORD process = 0;
};
}

TEST_F(MixedEnd, AReplaceFromTheTrayShowsItsOwnBoxOnlyAndListensNoMoreMeanwhile)
{
    ASSERT_TRUE(PortAcceptsConnections(install.ListenPort()));
    MixedReplace mixed(install);
    ASSERT_TRUE(mixed.Ready());
    PostMessageA(main, WM_COMMAND, kCmdFirstBackup, 0);
    HWND dialog = WaitForDialog(process, "Restore notes...");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, IDC_RESTORE_REPLACE), BM_CLICK, 0, 0));
    ASSERT_TRUE(PressAndWaitGone(dialog, IDOK));

    const ShownMessageBox told = WaitForMessageBox(process, 60000, "Quillnet+");
    ASSERT_NE(told.window, nullptr);
    EXPECT_TRUE(Contains(told.text, "notes.QPD")) << told.text;
    EXPECT_TRUE(Contains(told.text, "writes nothing more and ends now")) << told.text;
    EXPECT_FALSE(PortAcceptsConnections(install.ListenPort())) << "still listening while the box is up";
    ASSERT_TRUE(AnswerMessageBox(told, IDOK));

    std::string other;
    EXPECT_TRUE(EndsWithoutABox(*program, other)) << other;
    if (!other.empty())
        AcknowledgeProgramBox(process);
    ExpectEndedWritingNothing();
}

TEST_F(MixedEnd, ASilentReplaceShowsNoBoxAtAll)
{
    MixedReplace mixed(install);
    ASSERT_TRUE(mixed.Ready());
    RunningProgram second(install, "/replaceSilently trip.QPK");
    std::string box;
    EXPECT_TRUE(EndsWithoutABox(*program, box)) << box;
    if (!box.empty())
        AcknowledgeProgramBox(process);
    DWORD secondExit = 1;
    EXPECT_TRUE(second.WaitForExit(&secondExit));
    ExpectEndedWritingNothing();
    EXPECT_TRUE(Contains(ReadWholeFile(install.File("cmdLineRestore.Err")), "notes.QPD"));
}
