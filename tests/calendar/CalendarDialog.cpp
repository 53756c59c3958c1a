#include "CalendarDialog.h"

#include <algorithm>

#include "calendar/controls/CalendarMessages.h"
#include "foundation/win/FontConversion.h"
#include "foundation/win/GdiCaches.h"
#include "resources/ids/CalendarIds.h"

namespace {
const char kStandInClass[] = "QnCalendarTestMainWindow";

SeenMessage Seen(UINT message, WPARAM wParam, LPARAM lParam, const CDateTime* date)
{
    SeenMessage seen = {message, wParam, lParam, 0, 0, 0, false};
    if (date) {
        seen.day = date->m_day;
        seen.month = date->m_month;
        seen.year = date->m_year;
    }
    return seen;
}

std::vector<SeenMessage> Filter(const std::vector<SeenMessage>& all, UINT message)
{
    std::vector<SeenMessage> found;
    for (const SeenMessage& seen : all)
        if (seen.message == message)
            found.push_back(seen);
    return found;
}

LPARAM DateKey(const CDateTime& date)
{
    return date.m_year * 10000 + date.m_month * 100 + date.m_day;
}
}

MainWindowStandIn::MainWindowStandIn()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kStandInClass;
    RegisterClassA(&windowClass);
    m_window = CreateWindowExA(WS_EX_TOOLWINDOW, kStandInClass, "stand-in", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), this);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetCalendarMainWindow(m_window);
}

MainWindowStandIn::~MainWindowStandIn()
{
    SetCalendarMainWindow(nullptr);
    DestroyWindow(m_window);
    UnregisterClassA(kStandInClass, GetModuleHandleA(nullptr));
}

std::vector<SeenMessage> MainWindowStandIn::Seen(UINT message) const
{
    return Filter(m_seen, message);
}

LRESULT CALLBACK MainWindowStandIn::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MainWindowStandIn*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case kMsgHasAlarmOnDate: {
        const auto* date = reinterpret_cast<const CDateTime*>(lParam);
        self->m_seen.push_back(::Seen(message, wParam, lParam, date));
        return self->m_alarmDays.count(DateKey(*date)) ? 1 : 0;
    }
    case kMsgNewAlarmNote:
        self->m_seen.push_back(::Seen(message, wParam, lParam, reinterpret_cast<const CDateTime*>(lParam)));
        return 0;
    case kMsgOpenNoteManager:
        self->m_seen.push_back(::Seen(message, wParam, lParam, nullptr));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

CalendarDialog::CalendarDialog(const CCalendarStyle& style, const MainWindowStandIn& main)
    : m_style(style), m_mainStandIn(main.Window())
{
    CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CALENDAR), nullptr, &Procedure,
                       reinterpret_cast<LPARAM>(this));
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
}

CalendarDialog::~CalendarDialog()
{
    if (m_window)
        DestroyWindow(m_window);
}

std::vector<SeenMessage> CalendarDialog::Seen(UINT message) const
{
    return Filter(m_seen, message);
}

void CalendarDialog::ShowMonth(BYTE month, WORD year, bool sundayFirst, bool showOtherDays)
{
    m_main->SetMonth(month, year);
    m_main->SetWeekStartsOnSunday(sundayFirst);
    m_main->SetShowOtherDays(showOtherDays);
    m_main->Measure();
    m_main->FillWeekdayNames();
    m_main->FillDates();
    m_main->LayOut();

    m_second->SetMonth(month == 12 ? 1 : month + 1, month == 12 ? year + 1 : year);
    m_second->SetWeekStartsOnSunday(sundayFirst);
    m_second->SetShowOtherDays(showOtherDays);
    m_second->SetOrigin(m_main->GetWidth() + 15, 0);
    m_second->Measure();
    m_second->FillWeekdayNames();
    m_second->FillDates();
    m_second->LayOut();

    RECT client = {0, 0, m_second->GetWidth() + 10, std::max(m_main->GetHeight(), m_second->GetHeight()) + 10};
    AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongA(m_window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(m_window, GWL_EXSTYLE)));
    SetWindowPos(m_window, nullptr, 20, 20, client.right - client.left, client.bottom - client.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Repaint();
}

CDayButton& CalendarDialog::CellOfDay(int day)
{
    for (int index = 0; index < 42; ++index) {
        CDayButton& cell = m_main->Cell(index);
        if (cell.GetDate().m_day == day && !cell.IsOtherMonth())
            return cell;
    }
    return m_main->Cell(0);
}

void CalendarDialog::Repaint()
{
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

INT_PTR CALLBACK CalendarDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CalendarDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->m_window = window;
        const CCalendarStyle& style = self->m_style;
        self->m_main = std::make_unique<CMonthGrid>(window, style);
        const bool sundayFirst = style.firstDayOfWeek == 6;
        for (auto [grid, ids] : {std::make_pair(&self->m_second, &kSecondMonthIds),
                                 std::make_pair(&self->m_third, &kThirdMonthIds),
                                 std::make_pair(&self->m_fourth, &kFourthMonthIds)}) {
            *grid = std::make_unique<CExtraMonthGrid>(window, *ids, style.calendarTitleStyle, style.weekdaysAbbrev,
                                                      sundayFirst, style.monthOnTheLeft, style.yearOnTheLeft);
            (*grid)->ApplyStyle(style.smallDaysFont.font, style.smallDaysFontSmaller.font, style.showOtherDays != 0,
                                style.showGrid != 0, style.daysAreaTextColor, style.daysAreaBackColor,
                                style.daysAreaTransparent != 0, style.daysWithAlarmBold != 0,
                                style.daysWithAlarmUnderline != 0, style.daysWithAlarmIsShade != 0,
                                style.daysWithAlarmShadeColor);
        }
        // Only the first two months are looked at.
        HDWP batch = BeginDeferWindowPos(102);
        batch = self->m_fourth->Hide(self->m_third->Hide(batch));
        EndDeferWindowPos(batch);
        return TRUE;
    }
    auto* self = reinterpret_cast<CalendarDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_DESTROY) {
        // The grids give the items their own procedures back while they live.
        self->m_fourth.reset();
        self->m_third.reset();
        self->m_second.reset();
        self->m_main.reset();
        self->m_window = nullptr;
        SetWindowLongPtrA(window, DWLP_USER, 0);
        return FALSE;
    }
    return self->OnMessage(message, wParam, lParam) ? TRUE : FALSE;
}

bool CalendarDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return m_main->DrawItem(item) || m_second->DrawItem(item) || m_third->DrawItem(item) ||
               m_fourth->DrawItem(item);
    }
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(m_window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, BrushCache().GetBrush(kBackground).brush);
        SetWindowLongPtrA(m_window, DWLP_MSGRESULT, 1);
        return true;
    }
    case kMsgPaintButtonBackground: {
        const auto& background = *reinterpret_cast<const HoverButtonBackground*>(lParam);
        FillRect(background.dc, &background.client, BrushCache().GetBrush(kBackground).brush);
        m_seen.push_back(::Seen(message, wParam, lParam, nullptr));
        return true;
    }
    case kMsgCalendarContextMenu:
        m_seen.push_back(::Seen(message, wParam, lParam, reinterpret_cast<const CDateTime*>(wParam)));
        return true;
    case kMsgCalendarRaise: {
        SeenMessage seen = ::Seen(message, wParam, lParam, nullptr);
        MSG waiting;
        seen.noteManagerQueued =
            PeekMessageA(&waiting, m_mainStandIn, kMsgOpenNoteManager, kMsgOpenNoteManager, PM_NOREMOVE) != 0;
        m_seen.push_back(seen);
        return true;
    }
    case kMsgCalendarMouseMove:
    case kMsgPaintStaticFace:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
        m_seen.push_back(::Seen(message, wParam, lParam, nullptr));
        return true;
    case WM_COMMAND:
        m_seen.push_back(::Seen(message, wParam, lParam, nullptr));
        return true;
    default:
        return false;
    }
}

CCalendarStyle TestCalendarStyle(int points)
{
    CCalendarStyle style;
    LOGFONTA font;
    MakeLogFont(&font, -MulDiv(points, ScreenPixelsPerInch(), 72), 400, 34, "Tahoma");
    style.SetDaysFont(font);
    style.monthOnTheLeft = 3;
    style.yearOnTheLeft = 2026;
    style.firstDayOfWeek = 0;
    style.showOtherDays = 1;
    style.showGrid = 1;
    style.daysWithAlarmIsShade = 1;
    style.daysWithAlarmShadeColor = RGB(255, 192, 128);
    style.daysAreaTextColor = 0;
    style.calendarTitleTextColor = RGB(0, 0, 160);
    style.calendarTitleBackColor = RGB(0, 0, 160);
    style.prevNextForeColor = RGB(0, 0, 160);
    style.weekdayTextColor = RGB(0, 0, 160);
    return style;
}

HeldKey::HeldKey(BYTE key) : m_key(key)
{
    BYTE state[256];
    GetKeyboardState(state);
    state[key] |= 0x80;
    SetKeyboardState(state);
}

HeldKey::~HeldKey()
{
    BYTE state[256];
    GetKeyboardState(state);
    state[m_key] &= 0x7F;
    SetKeyboardState(state);
}
