// How long a forwarded "/new" takes the running program to show its note,
// from the request until the note window is there: while peers of another
// loopback address trickle bytes and send a 31 MB note, beside the same
// request without them, measured in the same run.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchProgram.h"
#include "net/bytes/WireText.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"

namespace {
const int kRounds = 5;
const DWORD kWaitMs = 60000;
const size_t kHugeNoteBytes = 31u * 1024 * 1024;

sockaddr_in Loopback(ULONG address, unsigned short port)
{
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(address);
    where.sin_port = htons(port);
    return where;
}

unsigned short FreePort()
{
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in where = Loopback(INADDR_LOOPBACK, 0);
    bind(probe, reinterpret_cast<sockaddr*>(&where), sizeof where);
    int length = sizeof where;
    getsockname(probe, reinterpret_cast<sockaddr*>(&where), &length);
    closesocket(probe);
    return ntohs(where.sin_port);
}

// A connection to the program's port from the address; invalid when none.
SOCKET ConnectFrom(ULONG attacker, unsigned short port)
{
    SOCKET peer = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in source = Loopback(attacker, 0);
    sockaddr_in target = Loopback(INADDR_LOOPBACK, port);
    if (bind(peer, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
        connect(peer, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
        closesocket(peer);
        return INVALID_SOCKET;
    }
    return peer;
}

// Seconds from the request until the program shows one more note; negative
// when it did not within the wait.
double TimeNewNote(HWND main, DWORD process, int round)
{
    const int before = NoteWindowsOf(process);
    std::string text = "Note " + std::to_string(round);
    COPYDATASTRUCT request{0, static_cast<DWORD>(text.size() + 1), &text[0]};
    LARGE_INTEGER start = BenchNow();
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request), SMTO_NORMAL, kWaitMs, &answer);
    for (DWORD waited = GetTickCount(); GetTickCount() - waited < kWaitMs; Sleep(1))
        if (NoteWindowsOf(process) > before)
            return SecondsBetween(start, BenchNow());
    return -1.0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The attack of one round, from an address of its own (the program takes
// at most 40 MB from one address in a minute): three connections that send a
// byte now and then, and one that sends a 31 MB note; it stops when told or
// when the program drops them.
class Attack {
public:
    Attack(ULONG attacker, unsigned short port, const std::string& huge)
    {
        for (int i = 0; i < 3; ++i)
            m_threads.emplace_back([this, attacker, port] {
                SOCKET peer = ConnectFrom(attacker, port);
                for (int beat = 0; peer != INVALID_SOCKET && !m_over && beat < 600; ++beat) {
                    if (beat % 100 == 0 && send(peer, "V", 1, 0) != 1)
                        break;
                    Sleep(20);
                }
                closesocket(peer);
            });
        m_threads.emplace_back([this, attacker, port, &huge] {
            SOCKET peer = ConnectFrom(attacker, port);
            for (size_t at = 0; peer != INVALID_SOCKET && !m_over && at < huge.size(); at += 65536) {
                if (send(peer, huge.data() + at, static_cast<int>(std::min<size_t>(65536, huge.size() - at)), 0) <= 0)
                    break;
                m_hugeSent = at;
            }
            closesocket(peer);
        });
    }
    ~Attack()
    {
        m_over = true;
        for (std::thread& thread : m_threads)
            thread.join();
    }
    // Until a part of the huge note is on its way.
    void WaitUnderWay() const
    {
        for (DWORD start = GetTickCount(); m_hugeSent < 4u * 1024 * 1024 && GetTickCount() - start < kWaitMs;)
            Sleep(1);
    }

private:
    std::vector<std::thread> m_threads;
    std::atomic<bool> m_over{false};
    std::atomic<size_t> m_hugeSent{0};
};

std::string HugeNote()
{
    CWireNote note;
    note.computerName = "BENCH";
    note.title = "Huge";
    std::string rtf = "{\\rtf1\\ansi ";
    while (rtf.size() < kHugeNoteBytes)
        rtf += "a line of a note far too long for anyone to read\\par\r\n";
    return WriteWireText(note, rtf.data(), rtf.size(), nullptr, 0);
}
}

int main()
{
    WSADATA winsock;
    WSAStartup(MAKEWORD(2, 2), &winsock);
    const std::string folder = MakeBenchInstall("qn_hostile_bench");
    const unsigned short port = FreePort();
    {
        CDbfFile settings;
        settings.SetTable((folder + "\\config.QPD").c_str(), true);
        settings.Open("MAPPINGALL");
        WriteNumber(settings, 1, "WLISTENPOR", port);
        WriteNumber(settings, 1, "WSENDPORT", FreePort());
        settings.Close();
    }
    const std::string program = folder + "\\qnpost.exe";
    HANDLE running = LaunchInFolder(program, "", folder);
    HWND main = nullptr;
    for (DWORD start = GetTickCount(); running && !main && GetTickCount() - start < kWaitMs; Sleep(10))
        main = FindWindowA("MainWindowClassName6", nullptr);
    if (!main) {
        std::printf("The program did not start\n");
        return 1;
    }
    const DWORD process = GetProcessId(running);
    // The program listens once its notes are up.
    for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(10)) {
        SOCKET probe = ConnectFrom(INADDR_LOOPBACK, port);
        closesocket(probe);
        if (probe != INVALID_SOCKET)
            break;
    }
    const std::string huge = HugeNote();

    std::vector<double> quiet, besieged;
    for (int round = 0; round < kRounds; ++round) {
        quiet.push_back(TimeNewNote(main, process, round));
        Attack attack(INADDR_LOOPBACK + 1 + static_cast<ULONG>(round), port, huge);
        attack.WaitUnderWay();
        besieged.push_back(TimeNewNote(main, process, kRounds + round));
    }
    CloseBenchProgram(running, program, folder, kWaitMs);
    DeleteDirectoryTree(folder.c_str());

    const double alone = Median(quiet), attacked = Median(besieged);
    std::printf("Forwarded /new until its note shows, no attack      %8.2f ms  (median of %d)\n", alone * 1000.0,
                kRounds);
    std::printf("The same while peers trickle and send a 31 MB note  %8.2f ms  (median of %d)\n", attacked * 1000.0,
                kRounds);
    std::printf("Ratio                                               %8.1f x\n", alone > 0 ? attacked / alone : 0.0);
    WSACleanup();
    return 0;
}
