// The running program besieged from another address on loopback: peers that
// trickle a byte every few seconds, and one that sends a 31 MB note. The
// program keeps working meanwhile (a forwarded "/new" makes its note, and an
// honest note from 127.0.0.1 arrives), refuses the 31 MB note and drops the
// trickling peers with their reasons in its log, and its memory stays under
// 300 MB.
#include "NetDriving.h"
#include "NoteCatcher.h"

#include <psapi.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/NoteDriving.h"

namespace {
const SIZE_T kMemoryBound = 300u * 1024 * 1024;
const size_t kHugeNoteBytes = 31u * 1024 * 1024;

// The most memory the process has used so far (its peak working set); 0 when
// it cannot be read.
SIZE_T PeakMemoryOf(DWORD processId)
{
    using ReadCounters = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
    auto read = reinterpret_cast<ReadCounters>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    const bool known = read && process && read(process, &counters, sizeof counters);
    if (process)
        CloseHandle(process);
    return known ? counters.PeakWorkingSetSize : 0;
}

std::string HugeNote()
{
    CWireNote note;
    note.computerName = "PC-MALLORY";
    note.title = "Huge";
    const std::string rtf = "{\\rtf1\\ansi far too long " + std::string(kHugeNoteBytes, 'a') + "}";
    return WriteWireText(note, rtf.data(), rtf.size(), nullptr, 0);
}

// Sends one byte every few seconds until the program drops it.
void Trickle(unsigned short port, std::atomic<bool>& dropped)
{
    RawPeer peer(port, kOtherPeer);
    for (int round = 0; peer.connected && round < 30; ++round) {
        if (!peer.Send("V") || peer.WasDropped(3000)) {
            dropped = true;
            return;
        }
    }
}
}

TEST(HostilePeers, TheProgramKeepsWorkingStaysSmallAndTakesAnHonestNote)
{
    WinsockSession winsock;
    ProgramInstall install("besieged");
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const unsigned short port = install.ListenPort();
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(port); }));

    std::atomic<bool> dropped[3] = {{false}, {false}, {false}};
    std::vector<std::thread> trickles;
    for (std::atomic<bool>& each : dropped)
        trickles.emplace_back(Trickle, port, std::ref(each));
    const std::string huge = HugeNote();
    std::atomic<size_t> hugeSent{0};
    std::string hugeAnswer;
    std::thread flood([&] {
        RawPeer peer(port, kOtherPeer);
        const size_t block = 64 * 1024;
        for (size_t at = 0; peer.connected && at < huge.size(); at += block) {
            if (!peer.Send(huge.substr(at, block)))
                return;
            hugeSent = at + block;
        }
        peer.FinishSending();
        hugeAnswer = peer.AnswerUntilClosed();
    });

    // While the huge note is on its way, the user's note and an honest one.
    ASSERT_TRUE(WaitUntil([&] { return hugeSent.load() >= 4u * 1024 * 1024; }));
    {
        ForwardedRequest typed(main, 0, "Typed during the attack");
    }
    EXPECT_NE(NoteHaving(process, "Typed during the attack"), nullptr);
    CWireNote honest;
    honest.computerName = "PC-ANNA";
    honest.title = "Honest";
    const std::string rtf = "{\\rtf1\\ansi An honest note\\par}";
    EXPECT_TRUE(SendToProgram(port, WriteWireText(honest, rtf.data(), rtf.size(), nullptr, 0)));
    EXPECT_NE(NoteHaving(process, "An honest note"), nullptr);

    flood.join();
    for (std::thread& trickle : trickles)
        trickle.join();
    EXPECT_TRUE(hugeAnswer.find("Stored") == std::string::npos) << hugeAnswer;
    for (std::atomic<bool>& each : dropped)
        EXPECT_TRUE(each.load());
    for (HWND note : NoteWindows(process))
        EXPECT_EQ(ReadWindowText(BodyOf(note)).find("far too long"), std::string::npos);
    EXPECT_TRUE(program.IsRunning());
    const SIZE_T peak = PeakMemoryOf(process);
    EXPECT_GT(peak, 0u);
    EXPECT_LT(peak, kMemoryBound) << peak / (1024 * 1024) << " MB";
    const std::string log = ReadWholeFile(install.File("error.txt"));
    EXPECT_NE(log.find("4 MB of note text within a minute"), std::string::npos) << log;
    EXPECT_NE(log.find("sent too slowly"), std::string::npos) << log;
}
