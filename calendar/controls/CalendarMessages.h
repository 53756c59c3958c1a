#pragma once

#include <windows.h>

#include "foundation/DateTime.h"
#include "foundation/win/HoverButton.h"
#include "globals/MainWindowMessages.h"

// The private messages between the calendar's drawn controls and the windows
// around them, with small senders. A transparent control asks its parent for
// its background with kMsgPaintButtonBackground and repaints it on
// kMsgRepaintButtonBackground (wParam 0, lParam 20), as every drawn button of
// the program does.
enum CalendarControlMessage : UINT {
    // To the parent: open the context menu. wParam: the address of the day
    // cell's date, or 0; lParam: the point in the parent's client area.
    kMsgCalendarContextMenu = 0x80A6,
    // To the parent: paint the whole face of a static
    // (lParam: HoverButtonBackground).
    kMsgPaintStaticFace = 0x80AC,
    // To the parent: a click was handled, the calendar comes forward.
    kMsgCalendarRaise = 0x80AD,
    // To a day cell: 1 when it shows no day.
    kMsgIsEmptyDayCell = 0x80AE,
    // To the parent: the mouse moved over a live control; the filter bar
    // closes unless it holds a filter.
    kMsgCalendarMouseMove = 0x80B1,
    // The same from the filter edit; lParam 1 also clears the filter.
    kMsgCloseFilterBar = 0x80B1,
    // To the calendar: the filter label's tip (lParam: the text, empty for none).
    kMsgFilterLabelTip = 0x80B2,
};

// The window the day cells ask about alarm days and send their requests to:
// the program's main window, unless a window was put in its place (a test
// program, which has none).
HWND GetCalendarMainWindow();
void SetCalendarMainWindow(HWND window);

// The date a request to open the Note Manager carries by value, as
// year * 10000 + month * 100 + day: the request is posted, and the cell that
// posts it may be refilled before it arrives.
inline LPARAM NoteManagerDateRequest(const CDateTime& date)
{
    return static_cast<LPARAM>(date.m_year) * 10000 + date.m_month * 100 + date.m_day;
}

inline bool AskHasAlarmOnDate(const CDateTime& date)
{
    return SendMessageA(GetCalendarMainWindow(), kMsgHasAlarmOnDate, 0, reinterpret_cast<LPARAM>(&date)) != 0;
}
inline void PostOpenNoteManagerOnDate(const CDateTime& date)
{
    PostMessageA(GetCalendarMainWindow(), kMsgOpenNoteManager, 0, NoteManagerDateRequest(date));
}
inline void SendNewAlarmNote(const CDateTime& date)
{
    SendMessageA(GetCalendarMainWindow(), kMsgNewAlarmNote, 0, reinterpret_cast<LPARAM>(&date));
}
inline void SendCalendarRaise(HWND parent)
{
    SendMessageA(parent, kMsgCalendarRaise, 0, 0);
}
inline void SendCalendarMouseMove(HWND parent)
{
    SendMessageA(parent, kMsgCalendarMouseMove, 0, 0);
}
inline void SendCloseFilterBar(HWND calendar, bool clear)
{
    SendMessageA(calendar, kMsgCloseFilterBar, 0, clear ? 1 : 0);
}
inline void SendFilterLabelTip(HWND calendar, const char* text)
{
    SendMessageA(calendar, kMsgFilterLabelTip, 0, reinterpret_cast<LPARAM>(text));
}
inline bool IsEmptyDayCell(HWND cell)
{
    return SendMessageA(cell, kMsgIsEmptyDayCell, 0, 0) != 0;
}
