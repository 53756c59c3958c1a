#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/CallbackGuard.h"
#include "foundation/win/FontDialog.h"

namespace {
// Ends the font dialog that ChooseFontWithTitle runs: a thread timer finds the
// dialog of this thread, keeps its title and presses the given button. After
// 200 ticks it cancels whatever dialog is open, so the test cannot hang.
struct DialogCloser {
    static std::string title;
    static int button;
    static int ticks;

    static BOOL CALLBACK FindDialog(HWND window, LPARAM found)
    {
        char className[16] = "";
        GetClassNameA(window, className, sizeof className);
        if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        GuardCallback([&] {
            HWND dialog = nullptr;
            EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
            if (!dialog && ++ticks < 200)
                return;
            KillTimer(nullptr, id);
            if (!dialog)
                return;
            char text[128] = "";
            GetWindowTextA(dialog, text, sizeof text);
            title = text;
            PostMessageA(dialog, WM_COMMAND, ticks < 200 ? button : IDCANCEL, 0);
        });
    }

    static void Start(int pressed)
    {
        title.clear();
        button = pressed;
        ticks = 0;
        SetTimer(nullptr, 0, 50, Tick);
    }
};
std::string DialogCloser::title;
int DialogCloser::button = IDCANCEL;
int DialogCloser::ticks = 0;
}

TEST(FontDialog, TitleIsSetAndTheChoiceComesBack)
{
    LOGFONTA start = {};
    start.lfHeight = -16;
    start.lfWeight = FW_NORMAL;
    lstrcpynA(start.lfFaceName, "Tahoma", LF_FACESIZE);
    LOGFONTA chosen = {};
    COLORREF color = 0;

    DialogCloser::Start(IDOK);
    ASSERT_TRUE(ChooseFontWithTitle(&chosen, &color, nullptr, start, RGB(0, 0, 128), "Title font"));
    EXPECT_EQ(DialogCloser::title, "Title font");
    EXPECT_STREQ(chosen.lfFaceName, "Tahoma");
    EXPECT_EQ(color, RGB(0, 0, 128));

    LOGFONTA untouched = {};
    untouched.lfHeight = 99;
    COLORREF kept = RGB(1, 2, 3);
    DialogCloser::Start(IDCANCEL);
    EXPECT_FALSE(ChooseFontWithTitle(&untouched, &kept, nullptr, start, RGB(0, 0, 128), nullptr));
    EXPECT_EQ(untouched.lfHeight, 99);
    EXPECT_EQ(kept, RGB(1, 2, 3));
}
