#include <windows.h>

#include <new>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "support/CurrentFolder.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "support/bytes/ErrorOf.h"

namespace {
LRESULT CALLBACK FailingCreateProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return GuardCreate([]() -> long { throw CGenericException("note object could not be built"); });
    if (message == WM_USER)
        return GuardCallback<LRESULT>(7, []() -> LRESULT { throw std::runtime_error("boom"); });
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND PlainWindow()
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

const char* RegisterTestClass()
{
    static const char* name = "QnGuardTestClass";
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FailingCreateProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
    return name;
}
}

TEST(CallbackGuard, ACreationFailureIsRethrownAfterCreateWindow)
{
    const char* name = RegisterTestClass();
    HWND window = CreateWindowExA(0, name, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(ErrorOf(RethrowCreationFailure), "note object could not be built");
    EXPECT_EQ(ErrorOf(RethrowCreationFailure), "") << "the failure is handed out once";
}

TEST(CallbackGuard, OtherFailuresAreLoggedAndAnsweredSafely)
{
    TempFolder folder;
    CurrentFolder current(folder.Path());
    MessageBoxRecorder boxes;
    HWND window = PlainWindow();
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FailingCreateProc));
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 7);
    EXPECT_EQ(boxes.LastText(), "Quillnet+ Internal Error.\r\n\r\nPlease check the error.txt file in the Quillnet+ folder.");
    EXPECT_NE(ReadWholeFile(folder.File("error.txt")).find("Internal error: boom"), std::string::npos);
    DestroyWindow(window);

    EXPECT_EQ(GuardCallback(0, []() -> int { throw CGenericException("shown text"); }), 0);
    EXPECT_EQ(boxes.LastText(), "shown text");
}

namespace {
const UINT kQuietFailure = WM_APP + 7;

// Waits, pumping this thread's messages, for the quiet failure posted to the
// window; its text, or "(none)" after the bounded wait.
std::string NextQuietFailure(HWND window)
{
    for (int i = 0; i < 200; ++i) {
        MSG message;
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
            if (message.message == kQuietFailure)
                return *TakeQuietFailure(message.lParam);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return "(none)";
}

DWORD WINAPI FailingWorker(void* what)
{
    return GuardQuietly<DWORD>(3, [what]() -> DWORD {
        if (what)
            throw CGenericException(static_cast<const char*>(what));
        throw std::bad_alloc();
    });
}

std::string RunFailingWorker(const char* what)
{
    DWORD result = 0;
    HANDLE thread = CreateThread(nullptr, 0, FailingWorker, const_cast<char*>(what), 0, nullptr);
    WaitForSingleObject(thread, 30000);
    GetExitCodeThread(thread, &result);
    CloseHandle(thread);
    return std::to_string(result);
}
}

// A worker's failure shows no box: it is logged and handed to the main window.
TEST(CallbackGuard, TheQuietGuardLogsAndTellsTheMainWindow)
{
    TempFolder folder;
    CurrentFolder current(folder.Path());
    MessageBoxRecorder boxes;
    HWND window = PlainWindow();
    ASSERT_NE(window, nullptr);
    SetQuietFailureTarget(window, kQuietFailure);

    EXPECT_EQ(RunFailingWorker("the note could not be sent"), "3");
    EXPECT_EQ(NextQuietFailure(window), "the note could not be sent");
    EXPECT_EQ(RunFailingWorker(nullptr), "3");
    EXPECT_EQ(NextQuietFailure(window), "std::bad_alloc");

    SetQuietFailureTarget(nullptr, 0);
    EXPECT_EQ(RunFailingWorker("after close"), "3");
    DestroyWindow(window);
    std::string log = ReadWholeFile(folder.File("error.txt"));
    EXPECT_NE(log.find("Internal error: the note could not be sent\r\n"), std::string::npos);
    EXPECT_NE(log.find("Internal error: std::bad_alloc\r\n"), std::string::npos);
    EXPECT_NE(log.find("Internal error: after close\r\n"), std::string::npos);
    EXPECT_EQ(boxes.Count(), 0u);
}
