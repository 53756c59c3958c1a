// Two windows of one program, one over the other: a plain window and, after
// a moment, a message box over it, opened from the program's own message loop
// (a box opened from a dialog's modal loop shows the same). On a virtual
// screen, "xwd -root" shows the box as a black rectangle although the screen
// holds it drawn; try-overlapping-windows.sh shows the three readings side by
// side.
#include <windows.h>

static LRESULT CALLBACK PlainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        KillTimer(window, 1);
        MessageBoxA(window, "A box over the window", "Over", MB_OK);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int main()
{
    WNDCLASSA type = {};
    type.lpfnWndProc = PlainWindow;
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    type.lpszClassName = "Plain";
    RegisterClassA(&type);
    HWND window = CreateWindowA("Plain", "Plain window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 20, 680, 420,
                                nullptr, nullptr, nullptr, nullptr);
    SetTimer(window, 1, 700, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
