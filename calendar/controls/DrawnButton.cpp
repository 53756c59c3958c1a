#include "calendar/controls/DrawnButton.h"

#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/HoverButton.h"
#include "foundation/win/TransparentBitmap.h"
#include "shell/GlobalTexts.h"

CDrawnButton::CDrawnButton(HWND parent, int controlId, Kind kind)
{
    Attach(parent, controlId, kind == kYearArrow ? "cannot create ChangeYear button" : "cannot create ChangeMonth button");
    if (m_window)
        m_tip.Show(parent, m_window, "");
}

CDrawnButton::~CDrawnButton()
{
    Detach();
}

bool CDrawnButton::LoadArrow(UINT bitmapId)
{
    return m_arrow.LoadBitmapResource(GetModuleHandleA(nullptr), bitmapId) != nullptr;
}

void CDrawnButton::SetTooltipText(const char* text)
{
    m_tip.Show(m_parent, m_window, text);
}

void CDrawnButton::PaintBackground(HDC dc)
{
    PaintControlBackground(m_window, m_parent, dc, m_transparent, GetSysColor(COLOR_BTNFACE));
}

HCURSOR CDrawnButton::HoverCursor() const
{
    return SharedCursorOrArrow(m_preview ? ProgramCursors().mail : ProgramCursors().http);
}

void CDrawnButton::OnEnterKey()
{
    SendMessageA(m_parent, WM_COMMAND, static_cast<WPARAM>(m_controlId), reinterpret_cast<LPARAM>(m_window));
}

void CDrawnButton::Draw(const DRAWITEMSTRUCT& item)
{
    RECT rect = item.rcItem;
    if (rect.left >= 0 && rect.top >= 0)
        OffsetRect(&rect, -rect.left, -rect.top);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    CMemoryDC memory(item.hDC, item.rcItem);
    HDC dc = memory.GetHandle();
    PaintBackground(dc);
    if (m_arrow.GetBitmap()) {
        // The resource bitmap stays as loaded: the glyph colour goes on a copy.
        CBitmapHolder copy(CopyBitmap(m_arrow.GetBitmap()));
        if (copy.Get()) {
            ReplaceBitmapColor(copy.Get(), 0, m_glyphColor);
            DrawTransparentBitmap(dc, copy.Get(), (width - m_arrow.GetWidth()) / 2,
                                  (height - m_arrow.GetHeight()) / 2, kPictureTransparentColor);
        }
    }
    DrawMarks(dc, rect, item.itemState, !m_preview, !m_preview);
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, dc, 0, 0, SRCCOPY);
}
