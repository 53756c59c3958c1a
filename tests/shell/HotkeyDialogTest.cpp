// The key-combination dialog driven like a user would, and the drag out of
// the tray icon with the pointer and keys it reads replaced (and left alone
// while a screen capture runs).
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/FormatSettings.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/HotkeyIds.h"
#include "shell/HotkeyActionTable.h"
#include "shell/HotkeyDialog.h"
#include "note/NoteWindow.h"
#include "shell/TrayDragTracker.h"
#include "support/ProgramDriver.h"

namespace {
struct Box {
    std::string text;
    std::string caption;
    unsigned flags;
};
std::mutex g_boxesLock;
std::vector<Box> g_boxes;

int RecordBox(void*, const char* text, const char* caption, unsigned flags)
{
    std::lock_guard<std::mutex> hold(g_boxesLock);
    g_boxes.push_back({text ? text : "", caption ? caption : "", flags});
    return IDOK;
}

std::vector<Box> TakeBoxes()
{
    std::lock_guard<std::mutex> hold(g_boxesLock);
    std::vector<Box> taken;
    taken.swap(g_boxes);
    return taken;
}

void ClickHotkeyDialogButton(HWND dialog, int id)
{
    ASSERT_TRUE(SendWithTimeout(GetDlgItem(dialog, id), BM_CLICK, 0, 0));
}

void ChooseKey(HWND dialog, int row)
{
    HWND keys = GetDlgItem(dialog, IDC_HOTKEY_KEY);
    ASSERT_TRUE(SendWithTimeout(keys, CB_SETCURSEL, row, 0));
    ASSERT_TRUE(SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(IDC_HOTKEY_KEY, CBN_SELCHANGE),
                                reinterpret_cast<LPARAM>(keys)));
}

bool HotkeyOkEnabled(HWND dialog)
{
    return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
}
}

TEST(HotkeyDialog, RefusesOneModifierAndRestrictedKeysAndKeepsWhatTheUserChose)
{
    FillHotkeyKeyTable(GetModuleHandleA(nullptr));
    ASSERT_EQ(HotkeyKeyTableCount, 63);
    // Each arrow beside its own name.
    EXPECT_EQ(HotkeyKeyTable[9].code, 37u);
    EXPECT_STREQ(HotkeyKeyTable[9].name, "Left arrow");
    EXPECT_EQ(HotkeyKeyTable[10].code, 38u);
    EXPECT_STREQ(HotkeyKeyTable[10].name, "Up arrow");
    EXPECT_EQ(HotkeyKeyTable[11].code, 39u);
    EXPECT_STREQ(HotkeyKeyTable[11].name, "Right arrow");
    EXPECT_EQ(HotkeyKeyTable[12].code, 40u);
    EXPECT_STREQ(HotkeyKeyTable[12].name, "Down arrow ");
    EXPECT_STREQ(HotkeyKeyTable[62].name, "F12");

    MessageBoxHandler previous = SetMessageBoxHandler(&RecordBox);
    HotkeyDialogRecord record{1, "Test hotkey", 1, 1, 0, 'A'};
    INT_PTR result = -1;
    std::thread user([&] { result = ShowHotkeyDialog(GetModuleHandleA(nullptr), nullptr, record); });
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindWindowA("#32770", "Test hotkey")) != nullptr; });
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_HOTKEY_KEY), CB_GETCOUNT, 0, 0), 63);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_HOTKEY_KEY), CB_GETCURSEL, 0, 0), 25);  // "A"
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_HOTKEY_CTRL), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_HOTKEY_SHIFT), BST_UNCHECKED);

    // Ctrl alone: refused, and OK stays off.
    ClickHotkeyDialogButton(dialog, IDC_HOTKEY_ALT);
    std::vector<Box> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "At least two of Ctrl, Alt, Shift must be used\r\n with the 'A' key.");
    EXPECT_EQ(boxes[0].caption, "Quillnet...");
    EXPECT_EQ(boxes[0].flags, static_cast<unsigned>(kMbIconHand));
    EXPECT_FALSE(HotkeyOkEnabled(dialog));
    // Ctrl+Shift passes.
    ClickHotkeyDialogButton(dialog, IDC_HOTKEY_SHIFT);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_TRUE(HotkeyOkEnabled(dialog));

    // A restricted record refuses F1 and takes B.
    ChooseKey(dialog, 51);
    boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Sorry, in this case the key 'F1' is not allowed for internal reasons.\r\nPlease choose a "
                             "letter (A-Z) or a digit(0-9) as the value for this key.");
    EXPECT_EQ(boxes[0].caption, "Quillnet+");
    EXPECT_FALSE(HotkeyOkEnabled(dialog));
    ChooseKey(dialog, 26);
    EXPECT_TRUE(HotkeyOkEnabled(dialog));
    ClickHotkeyDialogButton(dialog, IDOK);
    user.join();
    SetMessageBoxHandler(previous);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(record.ctrl, 1u);
    EXPECT_EQ(record.alt, 0u);
    EXPECT_EQ(record.shift, 1u);
    EXPECT_EQ(record.key, static_cast<DWORD>('B'));
}

namespace {
struct FakeInputs : CTrayDragTracker::Inputs {
    bool IsKeyDown(int key) override { return key == VK_LBUTTON ? buttonDown : escapeDown; }
    POINT CursorPosition() override { return cursor; }
    HWND WindowFromPoint(POINT) override { return under; }
    bool buttonDown = true;
    bool escapeDown = false;
    POINT cursor{100, 100};
    HWND under = nullptr;
};

std::vector<POINT> g_drops;

LRESULT CALLBACK RecordDrops(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == 0x80A1) {
        g_drops.push_back(*reinterpret_cast<const POINT*>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}

TEST(TrayDrag, FourPixelsStartADragAndADropAwayFromTheTaskbarAsksForANoteThere)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &RecordDrops;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TrayDragTestMain";
    RegisterClassA(&windowClass);
    HWND main = CreateWindowExA(WS_EX_TOOLWINDOW, "TrayDragTestMain", "", WS_POPUP, 50, 60, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(main, nullptr);
    // The taskbar stands in as a window of the test's own thread.
    HWND taskbar = CreateWindowExA(WS_EX_TOOLWINDOW, "TrayDragTestMain", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    FakeInputs inputs;
    CTrayDragTracker tracker;
    tracker.SetInputs(&inputs);

    // Three pixels are still a press; four start the drag.
    tracker.Start(100, 100, main, taskbar);
    inputs.cursor = {103, 97};
    tracker.OnTimer();
    EXPECT_FALSE(tracker.IsCaptured());
    inputs.cursor = {104, 100};
    tracker.OnTimer();
    EXPECT_TRUE(tracker.IsCaptured());
    tracker.OnMouseMove({20, 30});
    EXPECT_TRUE(tracker.IsDragging());
    tracker.OnMouseMove({40, 50});
    inputs.under = nullptr;
    tracker.OnButtonUp(0, {40, 50});
    ASSERT_EQ(g_drops.size(), 1u);
    EXPECT_EQ(g_drops[0].x, 90);
    EXPECT_EQ(g_drops[0].y, 110);
    EXPECT_FALSE(tracker.IsCaptured());

    // A drop on the taskbar, or a drag ended with Escape, asks for nothing.
    tracker.Start(100, 100, main, taskbar);
    inputs.cursor = {200, 200};
    tracker.OnTimer();
    tracker.OnMouseMove({20, 30});
    inputs.under = taskbar;
    tracker.OnButtonUp(0, {20, 30});
    tracker.Start(100, 100, main, taskbar);
    tracker.OnTimer();
    tracker.OnMouseMove({20, 30});
    inputs.under = nullptr;
    tracker.OnButtonUp(VK_ESCAPE, {20, 30});
    // A release without a move is a click: no drag starts.
    tracker.Start(100, 100, main, nullptr);
    inputs.buttonDown = false;
    tracker.OnTimer();
    EXPECT_FALSE(tracker.IsCaptured());
    EXPECT_EQ(g_drops.size(), 1u);
    DestroyWindow(taskbar);
    DestroyWindow(main);
    UnregisterClassA("TrayDragTestMain", GetModuleHandleA(nullptr));
}

TEST(TrayDrag, TheMainWindowsMouseMessagesPassItByWhileAScreenCaptureRuns)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "TrayDragCaptureMain";
    RegisterClassA(&windowClass);
    // The screen-capture window's own procedure, in a class of the test's.
    WNDCLASSA captureClass{};
    captureClass.lpfnWndProc = &CaptureWindowProc;
    captureClass.hInstance = instance;
    captureClass.lpszClassName = "TrayDragCaptureTest";
    RegisterClassA(&captureClass);
    HWND main = CreateWindowExA(WS_EX_TOOLWINDOW, "TrayDragCaptureMain", "", WS_POPUP, 50, 60, 10, 10, nullptr,
                                nullptr, instance, nullptr);
    ASSERT_NE(main, nullptr);
    FakeInputs inputs;
    CTrayDragTracker& tracker = TrayDragTracker();
    tracker.SetInputs(&inputs);
    tracker.Start(100, 100, main, nullptr);
    inputs.cursor = {120, 120};
    tracker.OnTimer();
    ASSERT_TRUE(tracker.IsCaptured());

    // While the capture window exists the drag sees neither the moves nor
    // the release of the main window.
    HWND capture = CreateWindowExA(WS_EX_TOOLWINDOW, "TrayDragCaptureTest", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, instance, nullptr);
    ASSERT_NE(capture, nullptr);
    EXPECT_TRUE(ScreenCaptureActive());
    OnTrayDragMouseMove(MK_LBUTTON, POINTS{20, 30});
    EXPECT_FALSE(tracker.IsDragging());
    OnTrayDragButtonUp(0, POINTS{20, 30});
    EXPECT_TRUE(tracker.IsCaptured()) << "the release ended the drag during a capture";

    // Once it has gone they reach the drag again.
    DestroyWindow(capture);
    EXPECT_FALSE(ScreenCaptureActive());
    OnTrayDragMouseMove(MK_LBUTTON, POINTS{20, 30});
    EXPECT_TRUE(tracker.IsDragging());
    inputs.under = main;
    OnTrayDragButtonUp(VK_ESCAPE, POINTS{20, 30});
    EXPECT_FALSE(tracker.IsCaptured());
    EXPECT_FALSE(tracker.IsDragging());
    tracker.SetInputs(nullptr);
    DestroyWindow(main);
    UnregisterClassA("TrayDragCaptureTest", instance);
    UnregisterClassA("TrayDragCaptureMain", instance);
}
