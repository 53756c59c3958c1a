// Commands of the Note Manager that wait (a send under way, the delete
// question) while a second start's "/replaceSilently" comes in: the notes
// they took are gone, and the restored notes may live at their addresses.
// The command stops and says so; no restored note is sent or deleted. The
// program closed while a send waits still ends.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/NoteManagerIds.h"
#include "support/LoopbackListener.h"
#include "support/NoteDriving.h"

namespace {
const char kNotesChanged[] = "The notes changed meanwhile; nothing more was done.";

// A peer on 127.0.0.1 that takes every connection and reads what comes, but
// never closes one: a send to it stays under way.
class HoldingPeer {
public:
    HoldingPeer() = default;
    ~HoldingPeer()
    {
        for (SOCKET held : m_held)
            closesocket(held);
    }
    HoldingPeer(const HoldingPeer&) = delete;
    HoldingPeer& operator=(const HoldingPeer&) = delete;

    bool IsListening() const { return m_listener.IsListening(); }
    unsigned short Port() const { return m_listener.Port(); }
    // Everything that has arrived so far, on every connection.
    const std::string& Received()
    {
        SOCKET taken = INVALID_SOCKET;
        for (int round = 0; round < 16 && (taken = m_listener.TakeWaiting()) != INVALID_SOCKET; ++round)
            m_held.push_back(taken);
        for (SOCKET held : m_held) {
            char piece[4096];
            int count = 0;
            for (int round = 0; round < 256 && (count = recv(held, piece, sizeof piece, 0)) > 0; ++round)
                m_bytes.append(piece, static_cast<size_t>(count));
        }
        return m_bytes;
    }

private:
    LoopbackListener m_listener{8};
    std::vector<SOCKET> m_held;
    std::string m_bytes;
};

// The texts of the notes on the screen, sorted.
std::vector<std::string> VisibleTexts(DWORD process)
{
    std::vector<std::string> texts;
    for (HWND note : NoteWindows(process)) {
        if (IsWindowVisible(note))
            texts.push_back(ReadWindowText(BodyOf(note)));
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

bool HasBackupNote(const std::vector<std::string>& texts)
{
    return std::find(texts.begin(), texts.end(), "Backup one") != texts.end() &&
           std::find(texts.begin(), texts.end(), "Backup three") != texts.end();
}
}

TEST(NoteManagerCommandsRestore, ASendOrDeleteBegunBeforeAReplaceStopsAndLeavesTheRestoredNotesAlone)
{
    const std::string backup = BackupMadeByProgram([](const ProgramInstall& earlier) {
        StoreTestNotes(earlier, {TestNote("Backup one"), TestNote("Backup two"), TestNote("Backup three")});
    });
    ASSERT_FALSE(backup.empty());
    ProgramInstall install("nmcmdrestore");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, {TestNote("Live one"), TestNote("Live two"), TestNote("Live three")});
    WriteWholeFile(install.File("three.QPK"), backup);
    HoldingPeer peer;
    ASSERT_TRUE(peer.IsListening());

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    ASSERT_NE(manager.OpenFromTrayListing(program, 4), nullptr);

    // The first of three chosen notes is on its way when the replace comes.
    ASSERT_TRUE(manager.SendTitles({"Live one", "Live two", "Live three"}, peer.Port()));
    ASSERT_TRUE(WaitUntil([&] { return peer.Received().find("Title=Live one") != std::string::npos; }));
    RunToEnd(install, "/replaceSilently three.QPK");
    WaitUntil([&] { return ProgramBoxShown(process) || peer.Received().find("Backup") != std::string::npos; });
    EXPECT_EQ(peer.Received().find("Backup"), std::string::npos) << "a restored note was sent";
    ASSERT_EQ(AcknowledgeProgramBox(process), kNotesChanged);
    EXPECT_TRUE(manager.WaitClosed());
    EXPECT_EQ(peer.Received().find("Backup"), std::string::npos);
    ASSERT_TRUE(WaitUntil([&] { return HasBackupNote(VisibleTexts(process)); }));

    // Every restored note is chosen for deletion; the next replace comes while
    // the question is open, and the answer is Yes.
    ASSERT_NE(manager.OpenFromTrayListing(program, 4), nullptr);
    const std::vector<std::string> restored = VisibleTexts(process);
    manager.Click(IDC_NM_SELECT_ALL);
    manager.Command(ID_NM_DELETE);
    const ShownMessageBox question = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
    ASSERT_EQ(question.text.find("Are you sure you want to delete all the selected notes?"), 0u) << question.text;
    RunToEnd(install, "/replaceSilently three.QPK");
    ASSERT_TRUE(AnswerMessageBox(question, IDYES));
    ASSERT_EQ(AcknowledgeProgramBox(process), kNotesChanged);
    EXPECT_TRUE(manager.WaitClosed());
    EXPECT_EQ(VisibleTexts(process), restored);

    // The program closed while a send waits: the window's object goes with
    // it, and the program still ends.
    ASSERT_NE(manager.OpenFromTrayListing(program, 4), nullptr);
    ASSERT_TRUE(manager.SendTitles({"Backup two"}, peer.Port()));
    PostMessageA(WaitForMainWindow(program), WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);

    // Started again, the program shows every restored note.
    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return VisibleTexts(again.ProcessId()) == restored; }))
        << VisibleTexts(again.ProcessId()).size();
    CloseProgram(install, again);
}
