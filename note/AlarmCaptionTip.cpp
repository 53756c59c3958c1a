// The tip over the caption of a note with an alarm: "Next alarm at" the
// time, and that a right click changes it. The caption lies outside the
// client area, so the tool is a rectangle above the client origin and the
// note hands its caption's mouse moves on in client coordinates.
#include <windows.h>

#include <commctrl.h>

#include "foundation/win/Tooltips.h"
#include "note/NoteController.h"
#include "note/NoteWindowHandlers.h"
#include "note/AlarmTiming.h"

namespace {
const UINT kCaptionToolId = 1;

RECT CaptionInClient(HWND window)
{
    RECT caption = NoteCaptionRect(window);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&caption, bounds.left - origin.x, bounds.top - origin.y);
    return caption;
}
}

void ShowAlarmTipOnCaption(CNoteController& note)
{
    if (!note.m_window)
        return;
    if (note.m_alarmTooltip && !IsWindow(note.m_alarmTooltip))
        note.m_alarmTooltip = nullptr;
    const RECT caption = CaptionInClient(note.m_window);
    if (!note.m_alarmTooltip) {
        if (!note.m_alarmTip[0])
            return;
        note.m_alarmTooltip = CreateTooltipControl(note.m_window);
        if (!note.m_alarmTooltip)
            return;
        // Two lines: the tip breaks at its line end.
        SendMessageA(note.m_alarmTooltip, TTM_SETMAXTIPWIDTH, 0, 400);
        AddTooltipRect(note.m_alarmTooltip, note.m_alarmTip, note.m_window, kCaptionToolId, caption, true);
        return;
    }
    UpdateTooltipRectText(note.m_alarmTooltip, note.m_alarmTip, kCaptionToolId, caption, note.m_window);
}

void RelayCaptionMouseToAlarmTip(CNoteController& note)
{
    if (!note.m_alarmTooltip || !note.m_window)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(note.m_window, &cursor);
    MSG message = {};
    message.hwnd = note.m_window;
    message.message = WM_MOUSEMOVE;
    message.lParam = MAKELPARAM(static_cast<WORD>(cursor.x), static_cast<WORD>(cursor.y));
    message.time = static_cast<DWORD>(GetMessageTime());
    GetCursorPos(&message.pt);
    SendMessageA(note.m_alarmTooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}
