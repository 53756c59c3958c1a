// The "Notes containing: " bar over the first month: it shows while the
// mouse is over the strip, and the text typed in it leaves only the days
// whose alarm notes hold that text marked, at once.
#include <cstring>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWnd.h"
#include "calendar/GridTexts.h"
#include "calendar/controls/CalendarMessages.h"
#include "foundation/win/HoverButton.h"
#include "resources/ids/CalendarIds.h"

namespace {
const char kFilterBarText[] = "Notes containing: ";
const char kLabelTip[] = "Click to clear filter";
// The bar's left edge in the calendar's client area.
const int kFilterLeft = 15;
const int kFilterTextLimit = 100;

bool IsFilterBlankChar(char c)
{
    return c == ' ' || c == '\t';
}

// The edit's text without the blanks around it.
void ReadTrimmedText(HWND edit, char* text, int size)
{
    text[0] = 0;
    GetWindowTextA(edit, text, size);
    char* start = text;
    while (IsFilterBlankChar(*start))
        ++start;
    size_t length = std::strlen(start);
    while (length > 0 && IsFilterBlankChar(start[length - 1]))
        --length;
    std::memmove(text, start, length);
    text[length] = 0;
}
}

void CCalendarWnd::AttachFilterBar()
{
    m_filterLabel.Attach(m_window, IDC_CAL_FILTER_LABEL);
    m_filterEdit.Attach(m_window, IDC_CAL_FILTER_EDIT);
}

void CCalendarWnd::OpenFilterBar()
{
    HWND label = m_filterLabel.GetWindow();
    HWND edit = m_filterEdit.GetWindow();
    if (!label || !edit)
        return;
    m_filterShown = true;
    const SIZE text = MeasureGridTextInFont(m_stripFont.GetHFONT(), kFilterBarText);
    m_filterLabel.SetText(kFilterBarText);
    m_filterLabel.SetFont(m_stripFont.GetHFONT());
    m_filterLabel.SetTransparent(true);
    MoveWindow(label, kFilterLeft, 0, text.cx, text.cy, FALSE);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_stripFont.GetHFONT()), TRUE);
    SendMessageA(edit, EM_LIMITTEXT, kFilterTextLimit, 0);
    int width = m_main.GetWidth() - text.cx - kFilterLeft;
    if (width < 1)
        width = 1;
    MoveWindow(edit, kFilterLeft + text.cx, 0, width, text.cy + 1, TRUE);
    for (HWND control : {label, edit})
        if (!IsWindowVisible(control))
            ShowWindow(control, SW_SHOWNA);
    InvalidateRect(label, nullptr, FALSE);
    if (GetForegroundWindow() == m_window)
        SetFocus(edit);
}

// Closes the bar; with clear the filter goes too, without it a bar that holds
// a filter stays.
void CCalendarWnd::CloseFilterBar(bool clear)
{
    if (!m_filterShown)
        return;
    HWND label = m_filterLabel.GetWindow();
    HWND edit = m_filterEdit.GetWindow();
    if (clear) {
        SetWindowTextA(edit, "");
        CurrentCalendarOptions().SetFilterText(nullptr);
    } else {
        char text[CCalendarStyle::kFilterSize];
        ReadTrimmedText(edit, text, sizeof text);
        if (text[0])
            return;
    }
    m_filterShown = false;
    if (CurrentCalendarOptions().backgroundType == 5) {
        ShowWindow(label, SW_HIDE);
        ShowWindow(edit, SW_HIDE);
    } else {
        // Kept in place at no size, with what they covered painted again.
        SendMessageA(label, kMsgRepaintButtonBackground, 0, 20);
        SendMessageA(edit, kMsgRepaintButtonBackground, 0, 20);
        SetWindowPos(label, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        HideCaret(edit);
        SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(m_window);
    }
    if (!clear && GetForegroundWindow() == m_window)
        SetFocus(m_window);
}

// Every change of the text takes effect at once: the shown days ask again
// whether they hold an alarm note with it.
void CCalendarWnd::OnFilterChanged()
{
    char text[CCalendarStyle::kFilterSize];
    ReadTrimmedText(m_filterEdit.GetWindow(), text, sizeof text);
    m_filterEdit.UpdateTip(text[0] != 0);
    SendFilterLabelTip(m_window, text[0] ? kLabelTip : "");
    CurrentCalendarOptions().SetFilterText(text);
    RefreshAlarmDays(true);
}

void CCalendarWnd::DrawFilterLabel(const DRAWITEMSTRUCT& item)
{
    m_filterLabel.SetTextColor(CurrentCalendarOptions().daysAreaTextColor);
    m_filterLabel.Draw(item);
}

// Over the strip above the first month the bar opens; elsewhere it closes,
// unless it holds a filter.
void CCalendarWnd::OnMouseMove(POINT point)
{
    if (point.y >= 0 && point.y <= m_stripHeight && point.x >= kFilterLeft && point.x <= m_main.GetWidth()) {
        if (!m_filterShown)
            OpenFilterBar();
        return;
    }
    CloseFilterBar(false);
    if (point.x < 0 || point.y < 0)
        return;
    RelayClientTip(point);
}
