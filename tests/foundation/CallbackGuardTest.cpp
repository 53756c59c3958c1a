#include <windows.h>

#include <stdexcept>

#include <gtest/gtest.h>

#include "foundation/CallbackGuard.h"
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
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FailingCreateProc));
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 7);
    EXPECT_EQ(boxes.LastText(), "Quillnet+ Internal Error.\r\n\r\nPlease check the error.txt file in the Quillnet+ folder.");
    EXPECT_NE(ReadWholeFile(folder.File("error.txt")).find("Internal error: boom"), std::string::npos);
    DestroyWindow(window);

    EXPECT_EQ(GuardCallback(0, []() -> int { throw CGenericException("shown text"); }), 0);
    EXPECT_EQ(boxes.LastText(), "shown text");
}
