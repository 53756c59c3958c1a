// The real program started on folders the tests make: first start, closing
// from a second start, the main window's private messages, and the starts
// that stop because the data files are missing or held by another process.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "note/NoteController.h"
#include "globals/MainWindowMessages.h"
#include "store/NotesLoader.h"
#include "store/bytes/DeletedRecordList.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/StoredNotes.h"
#include "support/ProgramDriver.h"

namespace {

bool InstanceMutexExists()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "Quillnet_6_KELMLtd");
    if (!mutex)
        return false;
    CloseHandle(mutex);
    return true;
}

LRESULT AskStartWindow(HWND window, UINT message, WPARAM wParam = 0)
{
    LRESULT result = -1;
    EXPECT_TRUE(SendWithTimeout(window, message, wParam, 0, &result)) << std::hex << message;
    return result;
}

// Runs the program on the install with the arguments; the box it shows is
// answered with OK and returned. The program must end with the exit code.
ShownMessageBox RunUntilBox(const ProgramInstall& install, const std::string& arguments, DWORD expectedExit = 0)
{
    RunningProgram program(install, arguments);
    ShownMessageBox box = WaitForMessageBox(program.ProcessId());
    EXPECT_NE(box.window, nullptr) << arguments;
    if (box.window) {
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode)) << arguments;
    EXPECT_EQ(exitCode, expectedExit) << arguments;
    EXPECT_EQ(FindTopWindow(kMainClass, program.ProcessId()), nullptr);
    return box;
}
}

TEST(ProgramStart, InstallsItsDataRunsAndClosesWhenASecondStartAsks)
{
    ProgramInstall install;
    install.AddUpgradeSet();

    ShownMessageBox usage = RunUntilBox(install, "/new");
    EXPECT_EQ(usage.caption, "Quillnet+");
    EXPECT_EQ(usage.text.rfind("The first time you run Quillnet+, please use the following syntax:", 0), 0u)
        << usage.text;

    RunningProgram first(install, "");
    HWND main = first.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    // A first installation: the tables come from "UPGRADE", which then goes.
    for (const char* name : {"config.QPD", "notes.QPD", "notes.QPS", "users.QPD", "sounds.QPD", "transact.QPD"})
        EXPECT_TRUE(FileExists(install.File(name))) << name;
    EXPECT_FALSE(FileExists(install.File("UPGRADE")));
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(ReadWindowText(main), "Application Title - Quillnet6");
    EXPECT_TRUE(InstanceMutexExists());

    // The deleted-record lists of the notes and transaction tables.
    EXPECT_EQ(AskStartWindow(main, kNotesFirstDeletedMessage), 0);
    AskStartWindow(main, kNotesAddDeletedMessage, 17);
    EXPECT_EQ(AskStartWindow(main, kNotesFirstDeletedMessage), 17);
    AskStartWindow(main, kNotesAddDeletedMessage, kUnsavedNoteId);
    AskStartWindow(main, kNotesRemoveDeletedMessage, 17);
    EXPECT_EQ(AskStartWindow(main, kNotesFirstDeletedMessage), 0);
    AskStartWindow(main, kTransactAddDeletedMessage, 5);
    AskStartWindow(main, kTransactAddDeletedMessage, 8);
    AskStartWindow(main, kTransactRemoveDeletedMessage, 5);
    EXPECT_EQ(AskStartWindow(main, kTransactFirstDeletedMessage), 8);
    EXPECT_EQ(AskStartWindow(main, kMsgIsBusySaving), 0);

    // The end of the Windows session stops the listeners; when the session
    // goes on after all, they listen again.
    EXPECT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
    EXPECT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.SendPort()); }));
    EXPECT_NE(AskStartWindow(main, WM_QUERYENDSESSION), 0);
    EXPECT_TRUE(WaitUntil([&] { return !PortAcceptsConnections(install.ListenPort()); }));
    AskStartWindow(main, WM_ENDSESSION, FALSE);
    EXPECT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
    EXPECT_NE(AskStartWindow(main, WM_QUERYENDSESSION), 0);
    EXPECT_TRUE(WaitUntil([&] { return !PortAcceptsConnections(install.SendPort()); }));
    AskStartWindow(main, WM_ENDSESSION, FALSE);
    EXPECT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.SendPort()); }));

    // Requests no second start would make are ignored: too long.
    std::string oversized(600, 'Z');
    for (ULONG_PTR code : {0u, 7u, 8u, 1u}) {
        COPYDATASTRUCT data{code, static_cast<DWORD>(oversized.size()), &oversized[0]};
        EXPECT_TRUE(SendWithTimeout(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    }
    {
        RunningProgram newNote(install, "/new \"A note from the command line\"");
        EXPECT_TRUE(newNote.WaitForExit(nullptr));
        RunningProgram second(install, "/close");
        DWORD secondExit = 1;
        ASSERT_TRUE(second.WaitForExit(&secondExit));
        EXPECT_EQ(secondExit, 0u);
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(first.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(InstanceMutexExists());
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
    // The first start made this user's record and sounds; the forwarded note was saved.
    EXPECT_FALSE(ReadWholeFile(install.File("users.QPD")) == ReadWholeFile(ProgramFolder() + "\\QlData\\users.QPD"));
    EXPECT_FALSE(ReadWholeFile(install.File("sounds.QPD")) == ReadWholeFile(ProgramFolder() + "\\QlData\\sounds.QPD"));
    EXPECT_NE(ReadWholeFile(install.File("notes.QPS")).find("A note from the command line"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(install.File("notes.QPS")).find("ZZZZZZZZ"), std::string::npos);
}

TEST(ProgramStart, StopsWhenADataFileIsMissingOrHeld)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();

    // A table that another process holds is named as held, not blamed on rights.
    HANDLE held = CreateFileA(install.File("config.QPD").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ShownMessageBox holder = RunUntilBox(install, "", ERROR_SHARING_VIOLATION);
    CloseHandle(held);
    EXPECT_EQ(holder.text.rfind("config.QPD is in use by another program", 0), 0u) << holder.text;

    // One that cannot be opened for writing is blamed on the rights: the tests
    // run with every right, so a folder takes the table's place.
    const std::string config = install.File("config.QPD");
    ASSERT_TRUE(DeleteFileA(config.c_str()));
    ASSERT_TRUE(CreateDirectoryA(config.c_str(), nullptr));
    ShownMessageBox access = RunUntilBox(install, "");
    ASSERT_TRUE(RemoveDirectoryA(config.c_str()));
    EXPECT_EQ(access.text.rfind("- Sorry, your current '", 0), 0u) << access.text;
    EXPECT_NE(access.text.find("the file read and file write rights for the '" + install.Path() +
                               "' directory AND its subdirectories."),
              std::string::npos)
        << access.text;

    ShownMessageBox missing = RunUntilBox(install, "");
    EXPECT_EQ(missing.text.rfind("- The '" + install.File("config.qpd") + "' data file needed to run Quillnet+ is "
                                 "missing.\r\n",
                                 0),
              0u)
        << missing.text;
    EXPECT_NE(missing.text.find("program directory '" + install.Path() + "' AND its subdirectories."),
              std::string::npos);
}

TEST(ProgramStart, RepairsAMissingNotesTableAndKeepsWhatSurvived)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const std::string survivor = "a notes table from before";
    WriteWholeFile(install.File("notes.QPD"), survivor);
    ASSERT_TRUE(DeleteFileA(install.File("notes.QPS").c_str()));
    {
        RunningProgram program(install, "");
        ShownMessageBox box = WaitForMessageBox(program.ProcessId());
        EXPECT_EQ(box.text.rfind("The 'notes.qps' memo file needed to run Quillnet+ is missing!\r\n\r\nQuillnet+ will "
                                 "recreate an empty set of data files.",
                                 0),
                  0u)
            << box.text;
        ASSERT_TRUE(AnswerMessageBox(box, IDOK));
        HWND main = program.WaitForWindow(kMainClass);
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_COMMAND, kCmdExit, 0);
        DWORD exitCode = 1;
        EXPECT_TRUE(program.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    // The recreated pair is a working notes table: the new user's note was
    // saved into it when the program closed.
    StoredNoteList saved = LoadEveryNote(install.Path());
    ASSERT_GE(saved.size(), 1u);
    EXPECT_EQ(saved[0]->RichText().rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(ReadWholeFile(install.File("notes.QPD.kept")), survivor);
    EXPECT_NE(ReadWholeFile(install.File("error.txt")).find("WinMain():The 'notes.qps' memo file needed"),
              std::string::npos);

    // A working copy left by an interrupted save takes the table's place quietly.
    const std::string table = ReadWholeFile(install.File("notes.QPD"));
    ASSERT_TRUE(MoveFileA(install.File("notes.QPD").c_str(), install.File("notesTemp.QPD").c_str()));
    RunningProgram program(install, "");
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    // Answered once its creation, which reads the notes table, is over.
    ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_EQ(FindTopWindow("#32770", program.ProcessId()), nullptr);
    EXPECT_EQ(ReadWholeFile(install.File("notes.QPD")), table);
    EXPECT_FALSE(FileExists(install.File("notesTemp.QPD")));
    EXPECT_NE(ReadWholeFile(install.File("error.txt")).find("The 'notesTemp.QPD' data file exists."),
              std::string::npos);
}

TEST(ProgramStart, TheTrayMenuIsOwnerDrawnAndItsExitEndsTheProgram)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, kMsgOpenTrayMenu, 0, 0);
    HWND menuWindow = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        menuWindow = FindTopWindow("#32768", program.ProcessId());
        return menuWindow && IsWindowVisible(menuWindow);
    }));
    // Measured by its texts: wider than the widest entry needs.
    RECT frame{};
    GetWindowRect(menuWindow, &frame);
    EXPECT_GT(frame.right - frame.left, 150);
    // Up wraps to the last entry, "Exit Quillnet+".
    PostMessageA(menuWindow, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}
