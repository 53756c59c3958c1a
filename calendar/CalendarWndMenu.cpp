// The calendar's menu and the commands of its frame: stay on top, border,
// roll up, a new alarm note on the day the menu was asked for, help, and the
// window copied as a picture.
#include <cstdio>
#include <cstring>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWnd.h"
#include "calendar/controls/CalendarMessages.h"
#include "foundation/win/HelpFile.h"
#include "globals/ProgramGlobals.h"
#include "resources/ids/CalendarIds.h"

namespace {
// The first item's text may grow to this many characters.
const size_t kFirstItemSize = 50;
// The dialog's system-modal bit, which keeps a dialog above the others.
const LONG_PTR kOnTopStyleBit = 0x2;

struct MenuItemLook {
    UINT id;
    int image;
    bool checkBox;
};
const MenuItemLook kItemLooks[] = {
    {IDM_CAL_NEW_ALARM_NOTE, -1, false}, {IDM_CAL_SETTINGS, 22, false},    {IDM_CAL_STAY_ON_TOP, 16, true},
    {IDM_CAL_ROLL_UP, 16, true},         {IDM_CAL_THREE_MONTHS, 16, true}, {IDM_CAL_FOUR_MONTHS, 16, true},
    {IDM_CAL_COPY_IMAGE, 103, false},    {IDM_CAL_HELP, 15, false},        {IDM_CAL_CLOSE, -1, false},
};

const MenuItemLook* LookOf(UINT id)
{
    for (const MenuItemLook& look : kItemLooks)
        if (look.id == id)
            return &look;
    return nullptr;
}

// The text with the addition when the whole stays within the first item's
// room; else the text alone.
void AppendIfRoom(char* text, size_t size, const char* addition)
{
    if (std::strlen(text) + std::strlen(addition) <= kFirstItemSize && std::strlen(text) + std::strlen(addition) < size)
        std::strcat(text, addition);
}
}

void CCalendarWnd::ShowContextMenu(POINT clientPoint)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HMENU loaded = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_CAL_MENU));
    if (!loaded)
        return;
    m_menu.Attach(instance, GetSubMenu(loaded, 0), &ImageList(0));
    POINT screen = clientPoint;
    ClientToScreen(m_window, &screen);
    const bool held = m_hold;
    m_hold = true;
    try {
        m_menu.TrackPopup(TPM_RETURNCMD, screen.x, screen.y, m_window);
    } catch (...) {
        m_hold = held;
        DestroyMenu(loaded);
        m_menu.Detach();
        m_menuOpen = false;
        throw;
    }
    m_hold = held;
    DestroyMenu(loaded);
    m_menu.Detach();
    PostMessageA(m_window, WM_NULL, 0, 0);
    m_menuOpen = false;
}

// The items drawn by the program, with their pictures and marks; the first
// one says for which day it makes a note.
void CCalendarWnd::BuildContextMenu()
{
    HMENU menu = m_menu.GetMenu();
    const int count = GetMenuItemCount(menu);
    if (count < 1 || m_menu.IsBuilt())
        return;
    m_menu.SetSize(count);
    for (int position = 0; position < count; ++position) {
        const UINT id = GetMenuItemID(menu, position);
        if (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) {
            m_menu.InitMenuStructures(position, "", kMakeSeparatorId, position, -1, 0, kNoRecolour, false);
            continue;
        }
        char text[128] = "";
        GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        if (id == IDM_CAL_NEW_ALARM_NOTE) {
            text[kFirstItemSize] = 0;
            if (m_menuDate.m_day == 0) {
                AppendIfRoom(text, sizeof text, "\tCtrl+Enter");
            } else {
                SYSTEMTIME day = {};
                day.wDay = m_menuDate.m_day;
                day.wMonth = m_menuDate.m_month;
                day.wYear = m_menuDate.m_year;
                char date[64] = "";
                GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, date, sizeof date);
                char addition[80];
                std::snprintf(addition, sizeof addition, " (%s)", date);
                AppendIfRoom(text, sizeof text, addition);
            }
        }
        const MenuItemLook* look = LookOf(id);
        m_menu.InitMenuStructures(position, text, id, look ? look->image : -1, -1, look && look->checkBox ? 1 : 0,
                                  kNoRecolour, false);
    }
    const CCalendarStyle& options = CurrentCalendarOptions();
    auto check = [&](UINT id, bool on) { CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); };
    check(IDM_CAL_STAY_ON_TOP, options.stayOnTop != 0);
    check(IDM_CAL_ROLL_UP, options.rollUp != 0);
    check(IDM_CAL_THREE_MONTHS, options.nrOfMonthsToShow == 2);
    check(IDM_CAL_FOUR_MONTHS, options.nrOfMonthsToShow == 3);
    EnableMenuItem(menu, IDM_CAL_NEW_ALARM_NOTE, MF_BYCOMMAND | (m_menuDate.m_day == 0 ? MF_GRAYED : MF_ENABLED));
}

// A right click on the calendar's own area: the menu for no day.
void CCalendarWnd::OnRightButtonDown(POINT clientPoint)
{
    m_menuDate = CDateTime(0, 0, 0);
    ShowContextMenu(clientPoint);
}

// The menu's items are drawn and measured by the menu; true when the item
// was one of them.
bool CCalendarWnd::OnMenuItem(UINT message, LPARAM lParam)
{
    if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU || !m_menuOpen)
            return false;
        m_menu.MeasureItem(measure);
        return true;
    }
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw->CtlType != ODT_MENU || reinterpret_cast<HMENU>(draw->hwndItem) != m_menu.GetMenu())
        return false;
    m_menu.DrawItem(draw);
    return true;
}

void CCalendarWnd::ToggleStayOnTop()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    options.stayOnTop = options.stayOnTop ? 0 : 1;
    SetStayOnTop();
    SendMessageA(m_window, WM_NCPAINT, 1, 0);
    m_modified = true;
}

void CCalendarWnd::SetStayOnTop()
{
    const bool onTop = CurrentCalendarOptions().stayOnTop != 0;
    const LONG_PTR style = GetWindowLongPtrA(m_window, GWL_STYLE);
    SetWindowLongPtrA(m_window, GWL_STYLE, onTop ? style | kOnTopStyleBit : style & ~kOnTopStyleBit);
    SetWindowPos(m_window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CCalendarWnd::ToggleBorder()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    options.hasBorder = options.hasBorder ? 0 : 1;
    SendMessageA(m_window, WM_NCPAINT, 1, 0);
    m_modified = true;
}

void CCalendarWnd::ToggleRollUp()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    options.rollUp = options.rollUp ? 0 : 1;
    if (!options.rollUp)
        StopRollTimer();
    m_modified = true;
}

// The main window makes the note and opens its alarm on the day; the item is
// grayed when the menu was asked for no day.
void CCalendarWnd::NewAlarmNoteOnMenuDate()
{
    if (m_menuDate.m_day == 0)
        return;
    const CDateTime date = m_menuDate;
    SendNewAlarmNote(date);
}

void CCalendarWnd::OpenHelp()
{
    OpenHelpOnTop(GetFocus() ? GetFocus() : m_window, kHelpContext, IDH_CALENDAR);
}

// The whole window, frame included, as a bitmap on the clipboard, which then
// owns it. A clipboard that cannot be opened is left as it is.
void CCalendarWnd::CopyAsImage()
{
    RECT window;
    GetWindowRect(m_window, &window);
    const RECT area = {0, 0, window.right - window.left, window.bottom - window.top};
    if (area.right <= 0 || area.bottom <= 0)
        return;
    CWindowDC windowDC(m_window);
    CMemoryDC memory(windowDC.GetHandle(), area);
    if (!memory.GetBitmap())
        return;
    BitBlt(memory.GetHandle(), 0, 0, area.right, area.bottom, windowDC.GetHandle(), 0, 0, SRCCOPY);
    memory.CopyBitmapToClipboard();
}
