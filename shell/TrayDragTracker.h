#pragma once

#include <windows.h>

// A press on the tray icon that turns into a drag: a rectangle of the default
// note size follows the pointer, and a release away from the taskbar asks the
// main window for a note there (0x80A1).
class CTrayDragTracker {
public:
    // What the tracker asks of the system; tests replace it.
    struct Inputs {
        virtual ~Inputs() = default;
        virtual bool IsKeyDown(int virtualKey) = 0;  // GetAsyncKeyState
        virtual POINT CursorPosition() = 0;
        virtual HWND WindowFromPoint(POINT point) = 0;
    };

    CTrayDragTracker();
    // A drag still running at the end: its timer goes with it.
    ~CTrayDragTracker();
    // Null puts the system's back.
    void SetInputs(Inputs* inputs);

    void Start(int startX, int startY, HWND mainWindow, HWND windowUnderPointer);
    // The button came up on the icon: no drag is pending any more.
    void ForgetStart() { m_startX = m_startY = 0; }
    void OnTimer();
    void OnMouseMove(POINT client);
    void OnButtonUp(WPARAM key, POINT client);

    bool IsCaptured() const { return m_captured != 0; }
    bool IsDragging() const { return m_dragging != 0; }

private:
    void StopTimer();
    void DrawBand();

    Inputs* m_inputs;
    DWORD m_captured = 0;
    DWORD m_dragging = 0;
    DWORD m_taskbarThread = 0;
    DWORD m_ownThread = 0;
    int m_startX = 0;
    int m_startY = 0;
    RECT m_band{};
    HWND m_taskbarWindow = nullptr;
    HWND m_mainWindow = nullptr;
};

// The program's one tracker, a program-wide object (shell/ProgramGlobalsOrder.cpp).
CTrayDragTracker& TrayDragTracker();

// The main window's WM_MOUSEMOVE and WM_LBUTTONUP, passed to the tracker
// unless a screen capture runs (its window owns the mouse meanwhile).
void OnTrayDragMouseMove(WPARAM keys, POINTS point);
void OnTrayDragButtonUp(WPARAM key, POINTS point);
