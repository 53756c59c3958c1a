// The tips of the calendar's caption and area, and the close box drawn at
// the caption's right end while the mouse rests there.
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWnd.h"
#include "foundation/win/Tooltips.h"
#include "globals/GlobalTexts.h"
#include "resources/ids/CalendarIds.h"

namespace {
const int kClosePeriod = 500;
// A window this close to the screen's right edge opens no menu from its icon.
const int kTipsMenuRoomFromRight = 35;

HWND MakeTip(HWND owner, const char* text, int showMs)
{
    HWND tip = CreateTooltipControl(owner);
    if (!tip)
        return nullptr;
    if (text)
        AddTooltipWindow(tip, text, owner);
    else
        AddTooltipWindowCallback(tip, owner);
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, showMs);
    return tip;
}

// The cursor's move over the window, for a tip whose tool is the window.
void RelayToTip(HWND tip, HWND window)
{
    if (!tip)
        return;
    MSG message = {};
    message.hwnd = window;
    message.message = WM_MOUSEMOVE;
    message.time = static_cast<DWORD>(GetMessageTime());
    GetCursorPos(&message.pt);
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

void HideTip(HWND tip)
{
    if (tip)
        SendMessageA(tip, TTM_POP, 0, 0);
}
}

void CCalendarWnd::CreateTips()
{
    char closeText[50] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_CAL_CLOSE_TIP, closeText, sizeof closeText);
    m_closeTip = MakeTip(m_window, closeText, 1000);
    m_iconTip = MakeTip(m_window, nullptr, 2000);
    m_captionTip = MakeTip(m_window, nullptr, 2000);
    m_clientTip = MakeTip(m_window, nullptr, 1000);
}

// The close box's spot at the caption's right end, the icon zone at its
// left, and the rest of the caption each have their tip.
void CCalendarWnd::OnNcMouseMove(WPARAM hit, POINT screenPoint)
{
    OnCaptionHover(static_cast<LPARAM>(hit), screenPoint);
    if (!m_ncTracking) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE | TME_NONCLIENT, m_window, 0};
        m_ncTracking = TrackMouseEvent(&track) != FALSE;
    }
    RECT window;
    GetWindowRect(m_window, &window);
    POINT clientTop = {0, 0};
    ClientToScreen(m_window, &clientTop);
    const int width = window.right - window.left;
    const int x = screenPoint.x - window.left;
    const int frame = GetSystemMetrics(SM_CXSIZEFRAME);
    const CProgramCursors& images = ProgramCursors();
    // The window has a system menu, so the system finds its close button on
    // the spot; the calendar draws its own close box there instead.
    const bool onCaption = hit == HTCAPTION || hit == HTCLOSE;
    const bool closeSpot = onCaption && images.closeButton && screenPoint.y - clientTop.y < -3 &&
                           x >= width - 2 * frame - images.closeButtonWidth && x <= width - frame;
    if (closeSpot) {
        if (!m_overClose) {
            m_overClose = true;
            m_closeTicks = 0;
            m_closeTimer.Set(m_window, kCloseBoxTimer, kClosePeriod);
        } else if (m_closeTicks > 0) {
            HideTip(m_captionTip);
            RelayToTip(m_closeTip, m_window);
        }
        return;
    }
    EndCloseHover();
    HWND shown = nullptr;
    if (InIconZone(screenPoint))
        shown = window.left + kTipsMenuRoomFromRight <= GetSystemMetrics(SM_CXSCREEN) ? m_iconTip : m_captionTip;
    else if (onCaption)
        shown = m_captionTip;
    if (!shown)
        return;
    for (HWND tip : {m_closeTip, m_iconTip, m_captionTip})
        if (tip != shown)
            HideTip(tip);
    RelayToTip(shown, m_window);
}

// Half a second on the close spot draws the close box and lets its tip show;
// a cursor that has left the calendar ends it.
void CCalendarWnd::OnCloseTick()
{
    if (!m_overClose) {
        m_closeTimer.Kill();
        return;
    }
    if (!CursorOverWindow()) {
        EndCloseHover();
        return;
    }
    if (m_closeTicks > 0)
        return;
    ++m_closeTicks;
    SendMessageA(m_window, WM_NCPAINT, 1, 0);
    POINT cursor;
    GetCursorPos(&cursor);
    SendMessageA(m_window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));
}

void CCalendarWnd::EndCloseHover()
{
    m_closeTimer.Kill();
    m_closeTicks = 0;
    if (!m_overClose)
        return;
    m_overClose = false;
    SendMessageA(m_window, WM_NCPAINT, 1, 0);
}

bool CCalendarWnd::CloseBoxClicked() const
{
    return m_overClose && m_closeTicks > 0;
}

// Drawn only while the mouse rests on its spot.
void CCalendarWnd::DrawCloseBox(HDC dc, int windowWidth, int captionHeight)
{
    const CProgramCursors& images = ProgramCursors();
    if (!m_overClose || !images.closeButton)
        return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ previous = SelectObject(memory, images.closeButton);
    BitBlt(dc, windowWidth - images.closeButtonWidth - GetSystemMetrics(SM_CXSIZEFRAME),
           (captionHeight - images.closeButtonHeight) / 2, images.closeButtonWidth, images.closeButtonHeight, memory,
           0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void CCalendarWnd::OnNcMouseLeave()
{

    m_ncTracking = false;
    for (HWND tip : {m_closeTip, m_iconTip, m_captionTip})
        if (tip)
            RelayMouseToTooltip(tip);
    OnCaptionLeft();
}

void CCalendarWnd::OnClientMouseLeave()
{
    m_clientTracking = false;
    if (m_clientTip)
        RelayMouseToTooltip(m_clientTip);
}

// The calendar's own area below the strip tells of its menu.
void CCalendarWnd::RelayClientTip(POINT clientPoint)
{
    if (!m_clientTracking) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_window, 0};
        m_clientTracking = TrackMouseEvent(&track) != FALSE;
    }
    if (clientPoint.y >= m_stripHeight)
        RelayToTip(m_clientTip, m_window);
}

// The callback tips' texts; false for another tooltip.
bool CCalendarWnd::OnTipText(NMTTDISPINFOA& info)
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    UINT text = 0;
    if (info.hdr.hwndFrom == m_iconTip && m_iconTip)
        text = IDS_CAL_ICON_TIP;
    else if (info.hdr.hwndFrom == m_captionTip && m_captionTip)
        text = options.backgroundType == 5 && options.dialogTitleBackColor == options.dialogBackColor
                   ? IDS_CAL_CAPTION_MENU_TIP
                   : IDS_CAL_CAPTION_SETTINGS_TIP;
    else if (info.hdr.hwndFrom == m_clientTip && m_clientTip)
        text = IDS_CAL_MENU_TIP;
    if (!text)
        return false;
    m_tipText[0] = 0;
    LoadStringA(GetModuleHandleA(nullptr), text, m_tipText, sizeof m_tipText);
    info.lpszText = m_tipText;
    return true;
}
