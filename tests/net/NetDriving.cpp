#include "NetDriving.h"

#include <random>

#include <gtest/gtest.h>

#include "net/NoteTransmit.h"
#include "resources/ids/SendNoteIds.h"
#include "globals/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "support/NoteDriving.h"

LoopbackPeer::LoopbackPeer(unsigned short port)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    LoopbackAddress address(port);
    if (bind(m_listener, address.Get(), sizeof address) != 0 || listen(m_listener, 4) != 0) {
        closesocket(m_listener);
        m_listener = INVALID_SOCKET;
    }
}

LoopbackPeer::~LoopbackPeer()
{
    DropStalled();
    if (m_listener != INVALID_SOCKET)
        closesocket(m_listener);
    WSACleanup();
}

SOCKET LoopbackPeer::Accept(DWORD timeoutMs)
{
    SOCKET peer = INVALID_SOCKET;
    WaitUntil(
        [&] {
            if (Readable(m_listener, 20000))
                peer = accept(m_listener, nullptr, nullptr);
            return peer != INVALID_SOCKET;
        },
        timeoutMs);
    return peer;
}

bool LoopbackPeer::Receive(std::string& bytes, DWORD timeoutMs)
{
    bytes.clear();
    SOCKET peer = Accept(timeoutMs);
    if (peer == INVALID_SOCKET)
        return false;
    bool ended = false;
    WaitUntil(
        [&] {
            for (int round = 0; round < 1000 && Readable(peer, 20000); ++round) {
                char piece[65536];
                int count = recv(peer, piece, sizeof piece, 0);
                if (count <= 0) {
                    ended = count == 0;
                    return true;
                }
                bytes.append(piece, static_cast<size_t>(count));
            }
            return false;
        },
        timeoutMs);
    closesocket(peer);
    return ended;
}

bool LoopbackPeer::AcceptAndStall(DWORD timeoutMs)
{
    DropStalled();
    m_stalled = Accept(timeoutMs);
    return m_stalled != INVALID_SOCKET;
}

void LoopbackPeer::DropStalled()
{
    if (m_stalled == INVALID_SOCKET)
        return;
    linger reset = {1, 0};
    setsockopt(m_stalled, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset), sizeof reset);
    closesocket(m_stalled);
    m_stalled = INVALID_SOCKET;
}

LoopbackAddress::LoopbackAddress(unsigned long port) : sockaddr_in{}
{
    sin_family = AF_INET;
    sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sin_port = htons(static_cast<u_short>(port));
}

RawPeer::RawPeer(unsigned long port, ULONG from) : m_socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP))
{
    DWORD sendTimeoutMs = 5000;
    setsockopt(m_socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeoutMs),
               sizeof sendTimeoutMs);
    LoopbackAddress source(0);
    source.sin_addr.s_addr = htonl(from);
    LoopbackAddress address(port);
    connected =
        bind(m_socket, source.Get(), sizeof source) == 0 && connect(m_socket, address.Get(), sizeof address) == 0;
}

bool RawPeer::Send(const std::string& bytes)
{
    return send(m_socket, bytes.data(), static_cast<int>(bytes.size()), 0) == static_cast<int>(bytes.size());
}

void RawPeer::Reset()
{
    linger abort = {1, 0};
    setsockopt(m_socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

bool RawPeer::WasDropped(DWORD timeoutMs)
{
    char answer[64];
    int count = 1;
    for (int round = 0; round < 4 && count > 0 && Readable(m_socket, static_cast<long>(timeoutMs) * 1000); ++round)
        count = recv(m_socket, answer, sizeof answer, 0);
    return count <= 0;
}

std::string RawPeer::AnswerUntilClosed()
{
    std::string answer;
    char piece[64];
    for (int count = 1; count > 0 && answer.size() < 4096 && Readable(m_socket, kDriverWaitMs * 1000L);) {
        count = recv(m_socket, piece, sizeof piece, 0);
        if (count > 0)
            answer.append(piece, static_cast<size_t>(count));
    }
    return answer;
}

bool Readable(SOCKET socket, long microseconds)
{
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(socket, &ready);
    timeval wait = {microseconds / 1000000, microseconds % 1000000};
    return select(0, &ready, nullptr, nullptr, &wait) == 1;
}

std::string RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

namespace {
TransmitResult TransmitToProgram(unsigned short port, const std::string& bytes)
{
    CDestination program("", "127.0.0.1", "", "", "", 0, 0, 0, 0, port, 1);
    return TransmitToRecipient(program, bytes, CTransmitOptions());
}
}

bool SendToProgram(unsigned short port, const std::string& bytes)
{
    return TransmitToProgram(port, bytes) == TransmitResult::kSent;
}

std::string SendToProgramTelling(unsigned short port, const std::string& bytes)
{
    return DescribeTransmitResult(TransmitToProgram(port, bytes));
}

HWND NoteHaving(DWORD process, const std::string& part, bool chat)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND note : NoteWindows(process))
            if (ReadWindowText(BodyOf(note)).find(part) != std::string::npos &&
                (!chat || FindWindowExA(note, nullptr, "QnChatStrip", nullptr)))
                found = note;
        return found != nullptr;
    });
    return found;
}

bool ShowsPicture(HWND note, const char* buttonText)
{
    HWND strip = FindWindowExA(note, nullptr, "QnChatStrip", nullptr);
    HWND button = FindWindowExA(strip, nullptr, "Button", buttonText);
    return button && (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

std::string SendStripText(HWND note)
{
    HWND strip = FindWindowExA(note, nullptr, "QnSendStrip", nullptr);
    return strip && IsWindowVisible(strip) ? ReadWindowText(strip) : std::string();
}

CWireNote LockedNoteFromAnna()
{
    CWireNote sent;
    sent.version = kWireVersion;
    sent.computerName = "PC-ANNA";
    sent.userName = "anna";
    sent.replyPort = 40123;
    sent.title = "For your eyes";
    sent.isProtected = true;
    return sent;
}

std::string ThisComputer()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return name;
}

void ChangeSettings(const ProgramInstall& install, const std::function<void(CDbfFile&)>& change)
{
    CDbfFile settings;
    settings.SetTable(install.File("config.QPD").c_str(), true);
    settings.Open("MAPPINGALL");
    change(settings);
    settings.Close();
}

void AcceptChats(const ProgramInstall& install)
{
    ChangeSettings(install, [](CDbfFile& settings) { WriteLogical(settings, 1, "BDELAY", true); });
}

HWND OpenSendDialog(HWND note, DWORD process)
{
    const UINT sendToCommand = 4514;
    PostMessageA(note, WM_COMMAND, sendToCommand, 0);
    HWND dialog = nullptr;
    WaitUntil([&] {
        return (dialog = FindTopWindowTitled("#32770", "Send note to a computer or email address", process)) != nullptr;
    });
    return dialog;
}

void TypeInto(HWND dialog, int id, const std::string& text)
{
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ExitProgram(RunningProgram& program, HWND main)
{
    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

void RequestSend(HWND main, const std::string& request, ULONG_PTR kind)
{
    ForwardedRequest send(main, kind, request);
}

std::string Loopback(unsigned short port)
{
    return "127.0.0.1:" + std::to_string(port);
}

ForwardedRequest::ForwardedRequest(HWND main, ULONG_PTR code, const std::string& text)
    : m_main(main), m_code(code), m_text(text)
{
    m_thread = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
}

ForwardedRequest::~ForwardedRequest()
{
    if (m_thread) {
        WaitForSingleObject(m_thread, kDriverWaitMs);
        CloseHandle(m_thread);
    }
}

DWORD WINAPI ForwardedRequest::Run(void* self)
{
    auto* request = static_cast<ForwardedRequest*>(self);
    COPYDATASTRUCT data{request->m_code, static_cast<DWORD>(request->m_text.size() + 1),
                        const_cast<char*>(request->m_text.c_str())};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(request->m_main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, kDriverWaitMs,
                        &result);
    return 0;
}
