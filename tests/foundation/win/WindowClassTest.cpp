#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/CallbackGuard.h"
#include "foundation/win/FrameWindow.h"
#include "foundation/win/WindowClass.h"
#include "resources/ids/WindowClassIds.h"
#include "support/ProgramDriver.h"
#include "support/bytes/ErrorOf.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK RefusingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return GuardCreate([]() -> long { throw CGenericException("the window's object could not be built"); });
    return DefWindowProcA(window, message, wParam, lParam);
}

// Registers for the length of one test.
class RegisteredClass {
public:
    RegisteredClass(WNDPROC procedure, UINT id, UINT style)
        : m_class(procedure, id, Instance(), style, 0, 0, nullptr)
    {
        m_class.RegisterClassEx();
    }
    ~RegisteredClass() { UnregisterClassA(m_class.GetClassName(), Instance()); }
    CWindowClass& Get() { return m_class; }

private:
    CWindowClass m_class;
};
}

TEST(WindowClass, StyleZeroRegistersAsRedrawAndDoubleClicks)
{
    RegisteredClass notes(PlainProcedure, IDS_NOTE_WINDOW_CLASS, 0);
    EXPECT_STREQ(notes.Get().GetClassName(), "NotesClassName6");
    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExA(Instance(), "NotesClassName6", &registered));
    EXPECT_EQ(registered.style, 11u);
    EXPECT_EQ(registered.hbrBackground, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(registered.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
}

TEST(WindowClass, ASecondRegistrationOrAMissingNameThrows)
{
    RegisteredClass child(PlainProcedure, IDS_CHILD_WINDOW_CLASS, CS_DBLCLKS);
    CWindowClass again(PlainProcedure, IDS_CHILD_WINDOW_CLASS, Instance(), 0, 0, 0, nullptr);
    EXPECT_EQ(ErrorOf([&] { again.RegisterClassEx(); }), "CWindowClass::RegisterClassEx failed.");
    EXPECT_THROW(CWindowClass(PlainProcedure, 65000, Instance(), 0, 0, 0, nullptr), CGenericException);
}

TEST(FrameWindow, CreatesTheHiddenWindowWithoutAMenuAndFindsIt)
{
    ExclusiveProgramRun noProgramWindows;
    RegisteredClass main(PlainProcedure, IDS_MAIN_WINDOW_CLASS, CS_DBLCLKS);
    EXPECT_EQ(main.Get().FindWindow(), nullptr);
    CFrameWindow frame(WS_EX_TOOLWINDOW, main.Get().GetClassName(), "Application Title - Quillnet6",
                       WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, 0, Instance(), nullptr);
    HWND window = frame.Create();
    ASSERT_NE(window, nullptr);
    frame.Show(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(main.Get().FindWindow(), window);
    DestroyWindow(window);
}

// A failure kept by a window created without the frame class never stands in
// for a later, unrelated failure.
TEST(FrameWindow, AFailedCreationIsShownAndThrown)
{
    MessageBoxRecorder boxes;
    RegisteredClass refusing(RefusingProcedure, IDS_CAPTURE_WINDOW_CLASS, 0);
    EXPECT_EQ(CreateWindowExA(0, refusing.Get().GetClassName(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              Instance(), nullptr),
              nullptr);
    CFrameWindow frame(0, "NoSuchClassHere", "", WS_POPUP, 0, 0, 10, 10, nullptr, 0, Instance(), nullptr);
    std::string thrown = ErrorOf([&] { frame.Create(); });
    ASSERT_EQ(boxes.Count(), 1u);
    std::string text = boxes.LastText();
    EXPECT_EQ(text.find(" , Error number: "), 0u) << text;
    EXPECT_NE(text.find("CFrameWindow:: Create() failed.\r\n Class name: NoSuchClassHere"), std::string::npos);
    EXPECT_EQ(text.substr(0, 100), thrown.substr(0, 100));
}

TEST(FrameWindow, AFailureInsideWmCreateComesOutAsItWas)
{
    MessageBoxRecorder boxes;
    RegisteredClass refusing(RefusingProcedure, IDS_CAPTURE_WINDOW_CLASS, 0);
    CFrameWindow frame(0, refusing.Get().GetClassName(), "", WS_POPUP, 0, 0, 10, 10, nullptr, 0, Instance(),
                       nullptr);
    EXPECT_EQ(ErrorOf([&] { frame.Create(); }), "the window's object could not be built");
    EXPECT_EQ(boxes.Count(), 0u);
}
