// Receiving a 1 MB note over 127.0.0.1, from the first byte sent until the
// main window has been handed it, read, beside a plain loopback copy of the
// same bytes between two sockets in the same run.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchClock.h"
#include "foundation/DataFolder.h"
#include "net/NoteTransmit.h"
#include "net/PortListener.h"
#include "net/ReceivedMessage.h"
#include "net/bytes/ReceiveBudget.h"
#include "globals/MainWindowMessages.h"

namespace {
const int kRounds = 7;
std::atomic<int> g_notesRead{0};

LRESULT CALLBACK MainWindowStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kMsgMessageReceived)
        return DefWindowProcA(window, message, wParam, lParam);
    if (reinterpret_cast<const CReceivedMessage*>(lParam)->kind != ReceivedMessageKind::kNote)
        return 0;
    ++g_notesRead;
    return 1;
}

// Handles messages until the main window has read one more note, or a minute.
void PumpUntilRead(int before)
{
    DWORD start = GetTickCount();
    while (g_notesRead <= before && GetTickCount() - start < 60000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
}

double ReceiveNoteOnce(const CPortRecord& port, const std::string& wire)
{
    int before = g_notesRead;
    LARGE_INTEGER start = BenchNow();
    std::thread sender([&] {
        CDestination recipient("", "127.0.0.1", "", "", "", 0, 0, 0, 0, port.m_port, 1);
        TransmitToRecipient(recipient, wire, CTransmitOptions());
    });
    PumpUntilRead(before);
    double seconds = SecondsBetween(start, BenchNow());
    sender.join();
    return seconds;
}

// The floor: the same bytes from one socket to another, read into memory.
double PlainCopyOnce(const std::string& bytes)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    listen(listener, 1);
    LARGE_INTEGER start = BenchNow();
    std::thread sender([&] {
        SOCKET out = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        connect(out, reinterpret_cast<sockaddr*>(&address), sizeof address);
        for (size_t sent = 0; sent < bytes.size();) {
            int count = send(out, bytes.data() + sent, static_cast<int>(std::min<size_t>(32768, bytes.size() - sent)), 0);
            if (count <= 0)
                break;
            sent += static_cast<size_t>(count);
        }
        closesocket(out);
    });
    SOCKET in = accept(listener, nullptr, nullptr);
    std::vector<char> received;
    received.reserve(bytes.size());
    char piece[4096];
    for (int count; (count = recv(in, piece, sizeof piece, 0)) > 0;)
        received.insert(received.end(), piece, piece + count);
    double seconds = SecondsBetween(start, BenchNow());
    sender.join();
    closesocket(in);
    closesocket(listener);
    if (received.size() != bytes.size())
        std::printf("plain copy lost bytes: %u of %u\n", static_cast<unsigned>(received.size()),
                    static_cast<unsigned>(bytes.size()));
    return seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
}

int main()
{
    WSADATA winsock;
    WSAStartup(MAKEWORD(1, 1), &winsock);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "qn-receive-bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetDataFolder(folder.c_str());

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &MainWindowStandIn;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QnReceiveBench";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("QnReceiveBench", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                                nullptr);
    CPortRecord port;
    port.m_bindAddress = INADDR_LOOPBACK;
    // Every round comes from 127.0.0.1 within the minute: the shares of one
    // peer would refuse the later ones, and this measures receiving alone.
    CReceiveLimits limits;
    limits.peerBytesPerMinute = limits.peerTextPerMinute = 1024u * 1024 * 1024;
    SetReceiveLimits(limits);
    ListenOnPortThreadNew(window, port);

    std::string rtf = "{\\rtf1\\ansi ";
    while (rtf.size() < 1024 * 1024 - 1)
        rtf += "A line of a long note that travels to another computer.\\par\r\n";
    rtf.resize(1024 * 1024 - 1);
    rtf += "}";
    CWireNote note;
    note.computerName = "BENCH";
    note.title = "1 MB";
    std::string wire = WriteWireText(note, rtf.data(), rtf.size(), nullptr, 0);

    std::vector<double> received;
    std::vector<double> copied;
    for (int round = 0; round < kRounds; ++round) {
        received.push_back(ReceiveNoteOnce(port, wire));
        copied.push_back(PlainCopyOnce(wire));
    }
    StopListening(port);
    DestroyWindow(window);
    RemoveDirectoryA(folder.c_str());

    double noteTime = Median(received);
    double copy = Median(copied);
    std::printf("Receive a 1 MB note (sent, read, parsed, handed)   %8.2f ms  (median of %d, %d read)\n",
                noteTime * 1000.0, kRounds, g_notesRead.load());
    std::printf("Plain loopback copy of the same bytes               %8.2f ms\n", copy * 1000.0);
    std::printf("Ratio                                               %8.1f x\n", copy > 0 ? noteTime / copy : 0.0);
    WSACleanup();
    return 0;
}
