#include "calendar/controls/DrawnButton.h"

#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/HoverButton.h"
#include "foundation/win/TransparentBitmap.h"
#include "globals/GlobalTexts.h"

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
    CItemCanvas canvas(item);
    if (!canvas.IsReady())
        return;
    HDC dc = canvas.GetDC();
    PaintBackground(dc);
    if (m_arrow.GetBitmap()) {
        // The resource bitmap stays as loaded: the glyph colour goes on a copy.
        CBitmapHolder copy(CopyBitmap(m_arrow.GetBitmap()));
        if (copy.Get()) {
            ReplaceBitmapColor(copy.Get(), 0, m_glyphColor);
            DrawTransparentBitmap(dc, copy.Get(), (canvas.GetWidth() - m_arrow.GetWidth()) / 2,
                                  (canvas.GetHeight() - m_arrow.GetHeight()) / 2, kPictureTransparentColor);
        }
    }
    DrawMarks(dc, canvas.GetRect(), item.itemState, !m_preview, !m_preview);
}
