#include "calendar/controls/TodayButton.h"

#include <cstdio>

#include "calendar/controls/CalendarMessages.h"
#include "calendar/controls/DrawnText.h"
#include "globals/GlobalTexts.h"

CTodayButton::CTodayButton(HWND parent, int controlId)
{
    Attach(parent, controlId, "cannot create Today button");
}

CTodayButton::~CTodayButton()
{
    Detach();
    if (m_icon)
        DestroyIcon(m_icon);
}

void CTodayButton::SetTooltipText(const char* text)
{
    m_tip.SetText(m_parent, m_window, text);
}

void CTodayButton::SetTitle(const char* text)
{
    std::snprintf(m_title, sizeof m_title, "%s", text ? text : "");
}

void CTodayButton::SetIcon(HICON icon)
{
    if (m_icon && m_icon != icon)
        DestroyIcon(m_icon);
    m_icon = icon;
}

void CTodayButton::PaintBackground(HDC dc)
{
    PaintControlBackground(m_window, m_parent, dc, m_transparent, GetSysColor(COLOR_BTNFACE));
}

HCURSOR CTodayButton::HoverCursor() const
{
    if (m_plainCursor)
        return LoadCursorA(nullptr, IDC_ARROW);
    return SharedCursorOrArrow(m_static ? ProgramCursors().mail : ProgramCursors().http);
}

void CTodayButton::OnMouseMove()
{
    if (!m_static)
        SendCalendarMouseMove(m_parent);
}

void CTodayButton::OnLeftButtonUp()
{
    SendCalendarRaise(m_parent);
}

void CTodayButton::Draw(const DRAWITEMSTRUCT& item)
{
    const DrawnTextLook look{m_window, m_parent, m_transparent, m_font, m_textColor, m_title, m_static};
    PaintDrawnText(item, look, [&](HDC dc, const RECT& rect) {
        DrawMarks(dc, rect, item.itemState, !m_static, !m_static && !m_plainCursor);
    });
}
