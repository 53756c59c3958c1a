// Alt+2 pressed with SendInput, once whole and once with an X notice read by
// the window's thread between the Alt and the 2: the pointer moved within the
// window, which Wine follows with a notice that the pointer entered it. Wine
// then sets its key state to X's, where no Alt is down, and the 2 comes alone.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

static HWND g_window;
static std::string g_keys;

static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const char* name = message == WM_KEYDOWN      ? "WM_KEYDOWN"
                       : message == WM_SYSKEYDOWN ? "WM_SYSKEYDOWN"
                       : message == WM_CHAR       ? "WM_CHAR"
                       : message == WM_SYSCHAR    ? "WM_SYSCHAR"
                                                  : nullptr;
    if (name && (wParam == '2' || wParam == VK_MENU))
        g_keys += std::string(name) + (wParam == VK_MENU ? " Alt, " : " '2', ");
    if (message == WM_SYSCHAR || (message == WM_SYSKEYUP && wParam == VK_MENU))
        return 0;  // no menu loop for the Alt
    return DefWindowProcA(window, message, wParam, lParam);
}

static DWORD WINAPI WindowThread(void*)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Record;
    windowClass.lpszClassName = "ChordTarget";
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&windowClass);
    g_window = CreateWindowExA(0, "ChordTarget", "Chord", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

static void Keys(std::initializer_list<std::pair<BYTE, bool>> keys)
{
    for (auto [key, up] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &input, sizeof input);
    }
}

// Gives the window's thread time to handle what came so far.
static void Settle()
{
    for (int i = 0; i < 20; ++i) {
        SendMessageA(g_window, WM_NULL, 0, 0);
        Sleep(10);
    }
}

int main()
{
    CreateThread(nullptr, 0, WindowThread, nullptr, 0, nullptr);
    while (!g_window)
        Sleep(10);
    SetForegroundWindow(g_window);
    SetCursorPos(250, 200);
    Settle();

    Keys({{VK_MENU, false}, {'2', false}, {'2', true}, {VK_MENU, true}});
    Settle();
    std::printf("whole:         %s\n", g_keys.c_str());

    g_keys.clear();
    Keys({{VK_MENU, false}});
    Settle();
    const bool altBefore = GetAsyncKeyState(VK_MENU) < 0;
    // Wine takes hold of the pointer around the move; when it lets go, X
    // tells the window under the pointer that the pointer entered it, with
    // the keys X holds down (none).
    SetCursorPos(260, 210);
    Settle();
    const bool altAfter = GetAsyncKeyState(VK_MENU) < 0;
    Keys({{'2', false}, {'2', true}, {VK_MENU, true}});
    Settle();
    std::printf("notice between: Alt down before the notice %d, after it %d; %s\n", altBefore, altAfter,
                g_keys.c_str());
    return 0;
}
