#include "foundation/win/DeviceContext.h"

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

void CDeviceContext::DrawLine(int x1, int y1, int x2, int y2)
{
    MoveToEx(m_hdc, x1, y1, nullptr);
    LineTo(m_hdc, x2, y2);
}

void CDeviceContext::FillSolidRect(int left, int top, int right, int bottom, COLORREF color)
{
    COLORREF previous = SetBkColor(m_hdc, color);
    RECT rect = {left, top, right, bottom};
    ExtTextOutA(m_hdc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(m_hdc, previous);
}

int CDeviceContext::DrawText(const char* text, RECT* rect, UINT format)
{
    return ::DrawText(m_hdc, text, -1, rect, format);
}

DWORD ColorCountFor(int bitsPerPixel, int planes)
{
    int bits = bitsPerPixel >= 32 ? 30 : (bitsPerPixel < 0 ? 0 : bitsPerPixel);
    return (DWORD{1} << bits) * static_cast<DWORD>(planes);
}

DWORD CDeviceContext::GetColorCount() const
{
    return ColorCountFor(GetDeviceCaps(m_hdc, BITSPIXEL), GetDeviceCaps(m_hdc, PLANES));
}

COLORREF CDeviceContext::SetTextColor(COLORREF color)
{
    return ::SetTextColor(m_hdc, color);
}

int CDeviceContext::SetBkMode(int mode)
{
    return ::SetBkMode(m_hdc, mode);
}

void CDeviceContext::GetCharSize(int* averageWidth, int* height) const
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(m_hdc, &metrics);
    *averageWidth = metrics.tmAveCharWidth;
    *height = metrics.tmHeight;
}

CPaintDC::CPaintDC(HWND window) : m_window(window)
{
    m_hdc = BeginPaint(window, &m_paint);
}

CPaintDC::~CPaintDC()
{
    EndPaint(m_window, &m_paint);
}

void CClientDC::Release()
{
    if (m_hdc)
        ReleaseDC(m_window, m_hdc);
    m_hdc = nullptr;
}

CScreenCanvas::CScreenCanvas()
{
    m_hdc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!m_hdc)
        throw CGenericException("CScreenCanvas::constructor failed");
}

void CScreenCanvas::Release()
{
    if (m_hdc)
        DeleteDC(m_hdc);
    m_hdc = nullptr;
}

CMemoryDC::CMemoryDC(HDC reference, const RECT& rect)
{
    Init();
    Create(reference, rect);
}

void CMemoryDC::Init()
{
    m_hdc = nullptr;
    m_rect = RECT{0, 0, 0, 0};
    m_bitmap = nullptr;
    m_previousBitmap = nullptr;
    m_fillBrush = nullptr;
    m_keepBitmap = FALSE;
}

void CMemoryDC::Create(HDC reference, const RECT& rect)
{
    Release();
    m_hdc = CreateCompatibleDC(reference);
    if (!m_hdc)
        throw CGenericException("CMemoryDC::Create, CreateCompatibleDC failed");
    m_rect = rect;
    m_bitmap = CreateCompatibleBitmap(reference, rect.right - rect.left, rect.bottom - rect.top);
    if (!m_bitmap) {
        char text[400];
        FormatLastErrorText(GetLastError(), text, sizeof text);
        ShowErrorMessage(nullptr, text, ProgramTitle);
        return;
    }
    m_previousBitmap = SelectObject(m_hdc, m_bitmap);
}

void CMemoryDC::CopyTo(HBITMAP bitmap, HDC target, int x, int y, int width, int height)
{
    HGDIOBJ previous = SelectObject(m_hdc, bitmap);
    BitBlt(target, x, y, width, height, m_hdc, 0, 0, SRCCOPY);
    SelectObject(m_hdc, previous);
}

void CMemoryDC::FillWithBrush(HBRUSH brush)
{
    if (!m_hdc || m_fillBrush)
        return;
    m_fillBrush = brush;
    HGDIOBJ previous = SelectObject(m_hdc, brush);
    PatBlt(m_hdc, 0, 0, GetWidth(), GetHeight(), PATCOPY);
    SelectObject(m_hdc, previous);
}

bool CMemoryDC::CopyBitmapToClipboard()
{
    if (!m_bitmap || !OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    if (SetClipboardData(CF_BITMAP, m_bitmap))
        m_keepBitmap = TRUE;
    CloseClipboard();
    return m_keepBitmap != FALSE;
}

void CMemoryDC::Release()
{
    if (!m_hdc)
        return;
    m_fillBrush = nullptr;
    if (m_previousBitmap)
        SelectObject(m_hdc, m_previousBitmap);
    if (m_bitmap && !m_keepBitmap)
        DeleteObject(m_bitmap);
    DeleteDC(m_hdc);
    Init();
}

CObjectSelector::CObjectSelector(HDC dc, HGDIOBJ object) : m_hdc(dc)
{
    m_previous = SelectObject(dc, object);
    m_selected = m_previous != nullptr && m_previous != HGDI_ERROR;
}

void CObjectSelector::Restore()
{
    if (m_selected)
        SelectObject(m_hdc, m_previous);
    m_selected = FALSE;
}
