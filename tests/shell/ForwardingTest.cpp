// A second start of the real program hands its command line to the running
// instance: here a receiver window of the main window's class, with the
// instance mutex, stands in for the running instance and records what arrives.
// A second start of the other kind of program (32 or 64 bits) sends the same
// bytes.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/OtherKind.h"
#include "support/ProgramDriver.h"

namespace {
struct Received {
    ULONG_PTR code;
    DWORD size;
    WPARAM flag;
    std::string bytes;
};
std::vector<Received> g_received;

LRESULT CALLBACK RecordCopyData(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        g_received.push_back({data->dwData, data->cbData, wParam,
                              std::string(static_cast<const char*>(data->lpData), data->lpData ? data->cbData : 0)});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class RunningInstanceStandIn {
public:
    RunningInstanceStandIn()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &RecordCopyData;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "MainWindowClassName6";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(WS_EX_TOOLWINDOW, "MainWindowClassName6", "stand-in", WS_OVERLAPPED, 0, 0, 10, 10,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        m_mutex = CreateMutexA(nullptr, FALSE, "Quillnet_6_KELMLtd");
    }
    ~RunningInstanceStandIn()
    {
        DestroyWindow(m_window);
        UnregisterClassA("MainWindowClassName6", GetModuleHandleA(nullptr));
        CloseHandle(m_mutex);
    }
    HWND Window() const { return m_window; }

private:
    ExclusiveProgramRun m_exclusive;
    HWND m_window = nullptr;
    HANDLE m_mutex = nullptr;
};

// The requests one second start sends.
std::vector<Received> Forward(const ProgramInstall& install, const std::string& arguments)
{
    g_received.clear();
    RunningProgram second(install, arguments);
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(&exitCode)) << arguments;
    EXPECT_EQ(exitCode, 0u);
    return g_received;
}

std::string Block(const std::string& text, size_t size)
{
    std::string block = text;
    block.resize(size, '\0');
    return block;
}

// Each command of a second start of the install's program, as the running
// instance receives it.
void ExpectEachCommandReachesTheRunningInstance(const ProgramInstall& install)
{
    struct Case {
        const char* arguments;
        ULONG_PTR code;
        WPARAM flag;
        std::string bytes;
    };
    const Case cases[] = {
        {"/new \"t\"", 0, 0, Block("t", 255)},
        {"/send PC2 \"hi\"", 1, 0, Block("PC2!#%@hi", 510)},
        {"C:\\x\\f.txt", 7, 0, std::string(" C:\\x\\f.txt \r\n", 15)},
        {"/importSilently f.qpk", 3, 0, Block("f.qpk", 255)},
        {"/close", 5, 0, ""},
        {"/addToFavourites C:\\x", 8, 0, std::string("C:\\x", 5)},
    };
    for (const Case& c : cases) {
        std::vector<Received> received = Forward(install, c.arguments);
        ASSERT_EQ(received.size(), 1u) << c.arguments;
        EXPECT_EQ(received[0].code, c.code) << c.arguments;
        EXPECT_EQ(received[0].flag, c.flag) << c.arguments;
        EXPECT_EQ(received[0].size, c.bytes.size()) << c.arguments;
        EXPECT_EQ(received[0].bytes, c.bytes) << c.arguments;
    }
}
}

TEST(Forwarding, EachCommandReachesTheRunningInstanceAsItsRequest)
{
    RunningInstanceStandIn running;
    ASSERT_NE(running.Window(), nullptr);
    ProgramInstall install;
    ExpectEachCommandReachesTheRunningInstance(install);

    // "/u=" belongs to a first start only: refused in a box over the running
    // instance's window, nothing sent.
    g_received.clear();
    RunningProgram refused(install, "/u=Bob");
    ShownMessageBox box = WaitForMessageBox(refused.ProcessId());
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(GetWindow(box.window, GW_OWNER), running.Window());
    EXPECT_EQ(box.text.rfind("Sorry, Quillnet+ is already running. You are not allowed to use the \"/u=Bob\" option "
                             "at this moment.\r\nUse the /u command line argument only when Quillnet+ is run for the "
                             "first time.",
                             0),
              0u)
        << box.text;
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    DWORD exitCode = 1;
    EXPECT_TRUE(refused.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(g_received.empty());

    // What does not fit its block is refused with the limit named, not cut or
    // dropped without a word; nothing is sent.
    const struct {
        std::string arguments;
        const char* limit;
    } tooLong[] = {
        {"/new \"" + std::string(300, 'n') + "\"", "can take at most 254."},
        {"/backup C:\\" + std::string(255, 'b'), "can take at most 254."},
        {"/send PC2 \"" + std::string(520, 's') + "\"", "can take at most 505."},
    };
    for (const auto& request : tooLong) {
        g_received.clear();
        RunningProgram second(install, request.arguments);
        ShownMessageBox refusal = WaitForMessageBox(second.ProcessId());
        ASSERT_NE(refusal.window, nullptr) << request.arguments.substr(0, 10);
        EXPECT_EQ(refusal.caption, "Quillnet+");
        EXPECT_NE(refusal.text.find(request.limit), std::string::npos) << refusal.text;
        EXPECT_TRUE(AnswerMessageBox(refusal, IDOK));
        EXPECT_TRUE(second.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_TRUE(g_received.empty()) << request.arguments.substr(0, 10);
    }
}

TEST(CrossKinds, ASecondStartOfTheOtherKindSendsTheSameRequests)
{
    SKIP_UNLESS_OTHER_KIND_RUNS();
    RunningInstanceStandIn running;
    ASSERT_NE(running.Window(), nullptr);
    ProgramInstall install;
    UseOtherKindProgram(install);
    ExpectEachCommandReachesTheRunningInstance(install);
}
