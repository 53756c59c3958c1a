#include "NoteCatcher.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "globals/MainWindowMessages.h"

namespace {
const char kCatcherClass[] = "QnTestNoteCatcher";
}

NoteCatcher::NoteCatcher()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kCatcherClass;
    RegisterClassA(&windowClass);
    m_window = CreateWindowA(kCatcherClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, this);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

NoteCatcher::~NoteCatcher()
{
    DestroyWindow(m_window);
}

LRESULT CALLBACK NoteCatcher::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* catcher = reinterpret_cast<NoteCatcher*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != kMsgMessageReceived || !catcher)
        return DefWindowProcA(window, message, wParam, lParam);
    CaughtMessage caught;
    caught.port = static_cast<int>(wParam);
    caught.message = *reinterpret_cast<const CReceivedMessage*>(lParam);
    caught.peer = caught.message.peerAddress;
    caught.kept = !catcher->refuseNotes;
    catcher->caught.push_back(caught);
    return caught.kept ? 1 : 0;
}

const CaughtMessage* NoteCatcher::WaitForNote(const std::string& title, DWORD timeoutMs)
{
    const CaughtMessage* found = nullptr;
    WaitUntil(
        [&] {
            for (const CaughtMessage& c : caught)
                if (c.message.kind == ReceivedMessageKind::kNote && c.message.note.title == title)
                    found = &c;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

size_t NoteCatcher::CountOf(ReceivedMessageKind kind) const
{
    size_t count = 0;
    for (const CaughtMessage& c : caught)
        count += c.message.kind == kind ? 1 : 0;
    return count;
}

TransmitResult NoteCatcher::Send(CDestination& recipient, const std::string& wireText,
                                 const CTransmitOptions& options)
{
    std::atomic<bool> done{false};
    TransmitResult result = TransmitResult::kStopped;
    std::thread sender([&] {
        result = TransmitToRecipient(recipient, wireText, options);
        done = true;
    });
    // The send ends by its own timeouts; this wait only keeps messages moving.
    WaitUntil([&] { return done.load(); }, 10 * 60 * 1000);
    sender.join();
    return result;
}

ScopedListener::ScopedListener(HWND window, int portNumber, DWORD sizeLimit, DWORD stallTimeoutMs, DWORD port)
{
    record.m_portNumber = portNumber;
    record.m_port = port;
    record.m_bindAddress = INADDR_LOOPBACK;
    record.m_sizeLimit = sizeLimit;
    record.m_stallTimeoutMs = stallTimeoutMs;
    ListenOnPortThreadNew(window, record);
}

WinsockSession::WinsockSession()
{
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
}

CDestination LoopbackRecipient(DWORD port)
{
    return CDestination("", "127.0.0.1", "", "", "", 0, 0, 0, 0, port, 1);
}

std::string SmallWireText(const std::string& title)
{
    CWireNote note;
    note.computerName = "PC-TEST";
    note.title = title;
    std::string rtf = "{\\rtf1 " + title + "}";
    return WriteWireText(note, rtf.data(), rtf.size(), nullptr, 0);
}
