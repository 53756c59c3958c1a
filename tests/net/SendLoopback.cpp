#include "SendLoopback.h"

#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"

LoopbackPeer::LoopbackPeer(unsigned short port)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(m_listener, 4) != 0) {
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
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(m_listener, &ready);
            timeval poll = {0, 20000};
            if (select(0, &ready, nullptr, nullptr, &poll) == 1)
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
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(peer, &ready);
            timeval poll = {0, 20000};
            for (int round = 0; round < 1000 && select(0, &ready, nullptr, nullptr, &poll) == 1; ++round) {
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

HWND NoteWhoseTextHas(DWORD process, const std::string& part)
{
    for (HWND note : NoteWindows(process))
        if (ReadWindowText(BodyOf(note)).find(part) != std::string::npos)
            return note;
    return nullptr;
}

std::string SendStripText(HWND note)
{
    HWND strip = FindWindowExA(note, nullptr, "QnSendStrip", nullptr);
    return strip && IsWindowVisible(strip) ? ReadWindowText(strip) : std::string();
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
