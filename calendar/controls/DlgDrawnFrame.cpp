#include "calendar/controls/DlgDrawnFrame.h"

#include "calendar/controls/CalendarMessages.h"
#include "calendar/controls/DrawnControl.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/WindowHelpers.h"

void CDlgDrawnFrame::Attach(HWND parent, int controlId)
{
    Detach();
    m_parent = parent;
    m_controlId = controlId;
    m_window = FindDrawnItem(parent, controlId, "cannot create CDlgDrawnFrame button");
    m_previous = SubclassDrawnControl(m_window, this, &DrawnControlProc<CDlgDrawnFrame>);
}

void CDlgDrawnFrame::Detach()
{
    UnsubclassDrawnControl(m_window, m_previous);
    m_window = nullptr;
    m_previous = nullptr;
}

void CDlgDrawnFrame::Paint()
{
    CPaintDC paint(m_window);
    HDC dc = paint.GetHandle();
    SetBkMode(dc, TRANSPARENT);
    RECT client;
    GetClientRect(m_window, &client);
    HBRUSH brush = BrushCache().GetBrush(m_color).brush;
    if (m_mode == kFilled)
        FillRect(dc, &client, brush);
    else if (m_mode == kFramed)
        FrameRect(dc, &client, brush);
}

LRESULT CDlgDrawnFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
    case kMsgRepaintButtonBackground:
        if (IsBackgroundRepaintRequest(wParam, lParam))
            RepaintControlBackground(m_window, m_parent, m_transparent, m_color);
        return 1;
    default:
        return CallWindowProcA(m_previous, m_window, message, wParam, lParam);
    }
}

CParentPaintedStatic::CParentPaintedStatic(HWND parent, int controlId)
    : m_window(GetDlgItem(parent, controlId)), m_parent(parent)
{
    m_previous = SubclassDrawnControl(m_window, this, &DrawnControlProc<CParentPaintedStatic>);
}

CParentPaintedStatic::~CParentPaintedStatic()
{
    UnsubclassDrawnControl(m_window, m_previous);
}

LRESULT CParentPaintedStatic::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        CPaintDC paint(m_window);
        HoverButtonBackground face{{}, {}, paint.GetHandle()};
        GetClientRect(m_window, &face.client);
        GetRectInParent(m_window, m_parent, &face.inParent);
        SendMessageA(m_parent, kMsgPaintStaticFace, 0, reinterpret_cast<LPARAM>(&face));
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return CallWindowProcA(m_previous, m_window, message, wParam, lParam);
    }
}
