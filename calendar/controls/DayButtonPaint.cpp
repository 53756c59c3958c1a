// How a day cell paints itself, and its tip.
#include "calendar/controls/DayButton.h"

#include <cstdio>
#include <string>

#include "calendar/controls/CalendarMessages.h"
#include "foundation/Clock.h"
#include "foundation/ResourceData.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/GdiObjects.h"
#include "resources/ids/CalendarIds.h"

namespace {
const COLORREF kTodayFrameColor = RGB(255, 0, 0);

void DrawDayButtonLine(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// The first row of the first month lies right under the weekday line: its
// marks keep clear of it.
bool IsInFirstMonthsFirstRow(int controlId)
{
    return controlId >= IDC_CAL_DAY && controlId < IDC_CAL_DAY + 7;
}
}

bool CDayButton::IsToday() const
{
    const SYSTEMTIME now = GetLocalNow();
    return m_date.m_day == now.wDay && m_date.m_month == now.wMonth && m_date.m_year == now.wYear;
}

void CDayButton::PaintBackground(HDC dc)
{
    PaintControlBackground(m_window, m_parent, dc, m_transparent, m_backgroundColor);
}

void CDayButton::Draw(const DRAWITEMSTRUCT& item)
{
    CItemCanvas canvas(item);
    if (!canvas.IsReady())
        return;
    if (IsEmpty())
        PaintEmpty(canvas.GetDC(), canvas.GetWidth(), canvas.GetHeight());
    else
        PaintDay(canvas, item.itemState);
}

void CDayButton::PaintDay(const CItemCanvas& canvas, UINT itemState)
{
    HDC dc = canvas.GetDC();
    const int width = canvas.GetWidth();
    const int height = canvas.GetHeight();
    RECT rect = canvas.GetRect();
    PaintBackground(dc);
    if (m_reAsk) {
        m_reAsk = false;
        m_alarmDay = false;
        // Asked only when some mark would show it, and then kept until the
        // cell is refilled or refreshed.
        if (m_alarmBold || m_alarmUnderline || m_alarmShade)
            m_alarmDay = AskHasAlarmOnDate(m_date);
    }
    LOGFONTA logFont = LogFontOf(m_font);
    if (m_alarmDay && m_alarmBold)
        logFont.lfWeight = FW_BOLD;
    if (m_alarmDay && m_alarmUnderline)
        logFont.lfUnderline = TRUE;
    CGdiFont font(logFont);
    if (m_alarmDay && m_alarmShade)
        FillRect(dc, &rect, BrushCache().GetBrush(m_shadeColor).brush);

    char text[8];
    std::snprintf(text, sizeof text, "%d", m_date.m_day);
    CObjectSelector fontSelected(dc, font.GetHFONT());
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_otherMonth ? GetBackgroundTint(m_textColor) : m_textColor);
    DrawTextA(dc, text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    fontSelected.Restore();

    const bool live = !m_preview;
    const int index = IndexInGrid();
    const bool firstRowOfFirstMonth = live && IsInFirstMonthsFirstRow(m_controlId);
    if (live && m_grid) {
        CGdiPen pen(GetBackgroundTint(m_textColor), PS_SOLID);
        CObjectSelector penSelected(dc, pen.GetHandle());
        if (index % 7 == 0)
            DrawDayButtonLine(dc, 0, 0, 0, height);
        if (index < 7)
            DrawDayButtonLine(dc, 0, 0, width, 0);
        DrawDayButtonLine(dc, width - 1, 0, width - 1, height);
        DrawDayButtonLine(dc, 0, height - 1, width, height - 1);
    }
    if (IsToday()) {
        RECT frame = rect;
        if (firstRowOfFirstMonth) {
            const int inset = m_grid ? 3 : 2;
            InflateRect(&frame, -inset, -inset);
        }
        FrameRect(dc, &frame, BrushCache().GetBrush(kTodayFrameColor).brush);
    }
    if (live && m_hover) {
        RECT edge = rect;
        if (firstRowOfFirstMonth && m_grid)
            InflateRect(&edge, -2, -2);
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
    if (live && (itemState & ODS_FOCUS) && !m_noFocusRect) {
        RECT focus = rect;
        if (m_grid) {
            const int inset = firstRowOfFirstMonth ? 2 : 1;
            InflateRect(&focus, -inset, -inset);
        }
        DrawFocusRect(dc, &focus);
    }
}

void CDayButton::PaintEmpty(HDC dc, int width, int height)
{
    PaintBackground(dc);
    const int index = IndexInGrid();
    if (m_preview || !m_grid || index > 5)
        return;
    // A leading blank draws only the borders it shares with day cells.
    CGdiPen pen(GetBackgroundTint(m_textColor), PS_SOLID);
    CObjectSelector penSelected(dc, pen.GetHandle());
    HWND next = Neighbour(1);
    if (next && !IsEmptyDayCell(next))
        DrawDayButtonLine(dc, width - 1, 0, width - 1, height);
    DrawDayButtonLine(dc, 0, height - 1, width, height - 1);
}

void CDayButton::UpdateTooltip()
{
    m_tip.Create(m_parent);
    std::string text;
    if (m_preview) {
        text = IsEmpty() ? m_previewBlankTip : m_previewDayTip;
    } else if (IsEmpty()) {
        CResourceString menuTip;
        text = menuTip.LoadString(GetModuleHandleA(nullptr), IDS_CAL_MENU_TIP);
    } else {
        if (m_alarmDay)
            text = "Left click for details\r\n";
        text += "Double click to create new alarm note\r\nRight click for menu";
    }
    m_tip.Show(m_parent, m_window, text.c_str());
}
