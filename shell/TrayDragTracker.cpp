// Dragging a new note out of the tray icon.
#include "shell/TrayDragTracker.h"

#include <cstdlib>

#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteWindow.h"

namespace {
const UINT kDragTimerMs = 200;
const int kDragThreshold = 4;

struct SystemInputs : CTrayDragTracker::Inputs {
    bool IsKeyDown(int virtualKey) override { return GetAsyncKeyState(virtualKey) < 0; }
    POINT CursorPosition() override
    {
        POINT point{};
        GetCursorPos(&point);
        return point;
    }
    HWND WindowFromPoint(POINT point) override { return ::WindowFromPoint(point); }
};

SystemInputs g_systemInputs;

// The release that ends a drag cancelled by Escape.
void SendEscapeRelease(HWND main)
{
    SendMessageA(main, WM_LBUTTONUP, VK_ESCAPE, 0);
}
}

CTrayDragTracker::CTrayDragTracker() : m_inputs(&g_systemInputs) {}

void CTrayDragTracker::SetInputs(Inputs* inputs)
{
    m_inputs = inputs ? inputs : &g_systemInputs;
}

CTrayDragTracker::~CTrayDragTracker()
{
    if (m_mainWindow && IsWindow(m_mainWindow))
        StopTimer();
}

void CTrayDragTracker::Start(int startX, int startY, HWND mainWindow, HWND windowUnderPointer)
{
    m_startX = startX;
    m_startY = startY;
    m_taskbarWindow = windowUnderPointer;
    m_mainWindow = mainWindow;
    m_captured = 0;
    m_dragging = 0;
    SetTimer(mainWindow, kTimerTrayDrag, kDragTimerMs, nullptr);
}

void CTrayDragTracker::StopTimer()
{
    if (m_mainWindow)
        KillTimer(m_mainWindow, kTimerTrayDrag);
}

void CTrayDragTracker::OnTimer()
{
    if ((m_startX == 0 && m_startY == 0) || m_inputs->IsKeyDown(VK_ESCAPE)) {
        StopTimer();
        if (m_captured)
            SendEscapeRelease(m_mainWindow);
        return;
    }
    if (!m_inputs->IsKeyDown(VK_LBUTTON)) {
        // Released without a drag: it was a click.
        StopTimer();
        m_startX = m_startY = 0;
        return;
    }
    if (m_captured || m_dragging)
        return;
    POINT cursor = m_inputs->CursorPosition();
    if (std::abs(cursor.x - m_startX) < kDragThreshold && std::abs(cursor.y - m_startY) < kDragThreshold)
        return;
    m_ownThread = GetCurrentThreadId();
    m_taskbarThread = m_taskbarWindow ? GetWindowThreadProcessId(m_taskbarWindow, nullptr) : m_ownThread;
    if (m_taskbarThread != m_ownThread && !AttachThreadInput(m_ownThread, m_taskbarThread, TRUE)) {
        m_taskbarThread = m_ownThread = 0;
        StopTimer();
        return;
    }
    m_captured = 1;
    SetCapture(m_mainWindow);
}

// The rubber band is drawn by inverting, so drawing it twice erases it.
void CTrayDragTracker::DrawBand()
{
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!screen)
        return;
    int oldMode = SetROP2(screen, R2_NOTXORPEN);
    HGDIOBJ oldBrush = SelectObject(screen, GetStockObject(HOLLOW_BRUSH));
    Rectangle(screen, m_band.left, m_band.top, m_band.right, m_band.bottom);
    SelectObject(screen, oldBrush);
    SetROP2(screen, oldMode);
    DeleteDC(screen);
}

void CTrayDragTracker::OnMouseMove(POINT client)
{
    if (GetKeyState(VK_ESCAPE) < 0 && (m_captured || m_dragging)) {
        SendEscapeRelease(m_mainWindow);
        return;
    }
    POINT screen = client;
    ClientToScreen(m_mainWindow, &screen);
    if (m_captured && !m_dragging) {
        m_dragging = 1;
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        m_band = {screen.x, screen.y, screen.x, screen.y};
        return;
    }
    if (!m_dragging)
        return;
    DrawBand();
    if (screen.y > 65000)
        screen.y = 0;
    const CUserSettings& user = UserSettings();
    m_band = {screen.x, screen.y, screen.x + user.note.newNoteWidth, screen.y + user.note.newNoteHeight};
    ShowCursor(FALSE);
    DrawBand();
    ShowCursor(TRUE);
}

void CTrayDragTracker::OnButtonUp(WPARAM key, POINT client)
{
    if (m_captured) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        ReleaseCapture();
        StopTimer();
    }
    if (m_dragging) {
        DrawBand();
        if (key != VK_ESCAPE) {
            POINT drop = client;
            ClientToScreen(m_mainWindow, &drop);
            if (m_inputs->WindowFromPoint(drop) != m_taskbarWindow)
                SendMessageA(m_mainWindow, kMsgCreateNoteAtPoint, 0, reinterpret_cast<LPARAM>(&drop));
        }
    }
    if (m_taskbarThread != m_ownThread)
        AttachThreadInput(m_ownThread, m_taskbarThread, FALSE);
    m_taskbarThread = m_ownThread = 0;
    m_captured = 0;
    m_dragging = 0;
    m_startX = m_startY = 0;
    PostMessageA(m_mainWindow, WM_NULL, 0, 0);
}

void OnTrayDragMouseMove(WPARAM, POINTS point)
{
    if (!ScreenCaptureActive())
        TrayDragTracker().OnMouseMove({point.x, point.y});
}

void OnTrayDragButtonUp(WPARAM key, POINTS point)
{
    if (!ScreenCaptureActive())
        TrayDragTracker().OnButtonUp(key, {point.x, point.y});
}
