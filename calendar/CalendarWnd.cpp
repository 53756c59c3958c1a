// The calendar window's object: building it over the dialog, setting it up,
// the clock that keeps today's date, and its end.
#include "calendar/CalendarWnd.h"

#include <string>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsFile.h"
#include "calendar/GridTexts.h"
#include "calendar/controls/DrawnControl.h"
#include "foundation/Clock.h"
#include "foundation/DataFolder.h"
#include "foundation/win/FontConversion.h"
#include "resources/ids/CalendarIds.h"

namespace {
const char kFilterStripText[] = "Notes containing: ";

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// One of the second to fourth months over its items, in the options' look;
// its month follows the first month's once that is known.
CExtraMonthGrid MakeExtraGrid(HWND window, const ExtraMonthGridIds& ids)
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    return CExtraMonthGrid(window, ids, options.calendarTitleStyle, options.weekdaysAbbrev,
                           options.firstDayOfWeek == 6, options.monthOnTheLeft, options.yearOnTheLeft);
}
}

CCalendarWnd::CCalendarWnd(HWND window)
    : m_window(window),
      m_main(window, CurrentCalendarOptions()),
      m_second(MakeExtraGrid(window, kSecondMonthIds)),
      m_third(MakeExtraGrid(window, kThirdMonthIds)),
      m_fourth(MakeExtraGrid(window, kFourthMonthIds))
{
    ComputeExtraMonths();
    ApplyGridStyles();
    m_captionFont.ChangeLogFont(CurrentCalendarOptions().titleFont.logFont);
}

CCalendarWnd::~CCalendarWnd()
{
    m_clockTimer.Kill();
    m_hoverTimer.Kill();
}

CCalendarWnd* CCalendarWnd::FromWindow(HWND window)
{
    return reinterpret_cast<CCalendarWnd*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

CExtraMonthGrid& CCalendarWnd::ExtraGrid(int index)
{
    return index == 1 ? m_second : index == 2 ? m_third : m_fourth;
}

// The first month takes the days font, the others the small days font; each
// with its one point smaller form for the weekday names.
void CCalendarWnd::ApplyGridStyles()
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    m_main.ApplyStyle(options, options.daysFont.font, options.daysFontSmaller.font);
    for (int index = 1; index <= 3; ++index)
        ExtraGrid(index).ApplyStyle(options.smallDaysFont.font, options.smallDaysFontSmaller.font,
                                    options.showOtherDays != 0, options.showGrid != 0, options.daysAreaTextColor,
                                    options.daysAreaBackColor, options.daysAreaTransparent != 0,
                                    options.daysWithAlarmBold != 0, options.daysWithAlarmUnderline != 0,
                                    options.daysWithAlarmIsShade != 0, options.daysWithAlarmShadeColor);
}

void CCalendarWnd::OnInitDialog()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    SetUpStrip();
    options.visible = 1;
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_CALENDAR), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
    if (icon)
        SendMessageA(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    m_dialogBrush = BrushCache().GetBrush(options.dialogBackColor);
    m_captionBrush = BrushCache().GetBrush(options.dialogTitleBackColor);
    LoadBackgroundPicture();
    ApplyTransparency();
    SetWindowPos(m_window, options.stayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    FillMainGrid();
    ComputeExtraMonths();
    PlaceExtraGrids();
    if (options.nrOfMonthsToShow == 2)
        HideExtraGrids(3);
    else if (options.nrOfMonthsToShow == 1)
        HideExtraGrids(1);
    PlaceWindow();

    m_clockTimer.Set(m_window, kClockTimer, kClockPeriod);
    OnTimer(kClockTimer);
    if (options.backgroundType == 5)
        m_hoverTimer.Set(m_window, kHoverTimer, kHoverPeriod);
    CreateTips();
    m_initialising = false;
}

// The window's font of 8 points, and the strip over the months that the
// filter uses: as high as its text.
void CCalendarWnd::SetUpStrip()
{
    m_stripFont.ChangeLogFont(LogFontOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
    LOGFONTA font = m_stripFont.GetLogFont();
    font.lfHeight = -MulDiv(8, ScreenPixelsPerInch(), 72);
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = 0;
    m_stripFont.ChangeLogFont(font);
    SendMessageA(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(m_stripFont.GetHFONT()), FALSE);
    const SIZE text = MeasureGridTextInFont(m_stripFont.GetHFONT(), kFilterStripText);
    m_stripHeight = text.cy + 2;
    m_main.SetOrigin(m_gridLeft, m_stripHeight);
    // The filter strip shows when the mouse comes over it; until then the
    // filter's controls stay out of sight.
    AttachFilterBar();
    for (int id : {IDC_CAL_FILTER_LABEL, IDC_CAL_FILTER_EDIT})
        if (HWND control = GetDlgItem(m_window, id))
            ShowWindow(control, SW_HIDE);
}

// A texture that is no longer in the folder leaves the plain background.
void CCalendarWnd::LoadBackgroundPicture()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    if (!options.backgroundImage[0])
        return;
    const std::string path =
        DataFilePath((std::string(DataName::kTexturesFolder) + "\\" + options.backgroundImage).c_str());
    if (FileExists(path) && m_picture.LoadImageFromFile(GetModuleHandleA(nullptr), path.c_str()) &&
        m_picture.GetWidth() > 0 && m_picture.GetHeight() > 0)
        return;
    options.backgroundType = 0;
    options.SetBackgroundImage(nullptr);
}

// A see-through window: a colour key for background 5, else the
// transparency as the window's alpha. Under 5 % is no transparency.
void CCalendarWnd::ApplyTransparency()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    if (options.transparency < 5)
        options.transparency = 0;
    if (options.transparency == 0 && options.backgroundType != 5)
        return;
    SetWindowLongPtrA(m_window, GWL_EXSTYLE, GetWindowLongPtrA(m_window, GWL_EXSTYLE) | WS_EX_LAYERED);
    if (options.backgroundType == 5)
        SetLayeredWindowAttributes(m_window, options.dialogBackColor, 255, LWA_COLORKEY);
    else
        SetLayeredWindowAttributes(m_window, 0, static_cast<BYTE>(255 - MulDiv(options.transparency, 255, 100)),
                                   LWA_ALPHA);
}

// Where the user left the window, kept on the screen; the size of its months
// when it has no size of its own yet.
void CCalendarWnd::PlaceWindow()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    if (!options.width || !options.height) {
        FitToGrids();
        return;
    }
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (options.left >= screenWidth || options.left + options.width < 0)
        options.left = 20;
    // Wholly above the screen the caption could not be reached to move it back.
    if (options.top >= screenHeight || options.top + options.height <= 0)
        options.top = 20;
    MoveWindow(m_window, options.left, options.top, options.width, options.height, FALSE);
}

void CCalendarWnd::OnTimer(UINT_PTR id)
{
    if (id == kClockTimer)
        OnClockTick();
    else if (id == kHoverTimer)
        OnHoverPoll();
}

void CCalendarWnd::OnClockTick()
{
    if (!m_initialising && m_modified && !m_inSizeMove) {
        m_modified = false;
        SaveWindowPlace();
    }
    SYSTEMTIME now = GetLocalNow();
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &now, nullptr, m_today, sizeof m_today);
    char title[kTodaySize] = "";
    GetWindowTextA(m_window, title, sizeof title);
    if (lstrcmpiA(title, m_today) != 0) {
        SetWindowTextA(m_window, m_today);
        SendMessageA(m_window, WM_NCPAINT, 1, 0);
        if (m_lastSeen.m_day != 0 && !m_initialising) {
            if (m_lastSeen.m_month != now.wMonth || m_lastSeen.m_year != now.wYear) {
                m_main.GoToCurrentMonth();
                KeepMainMonth();
                RefreshSecondaryMonths(true);
                GrowToGrids();
            } else if (m_lastSeen.m_day != now.wDay || (m_lastSeen.m_hour == 23 && now.wHour == 0)) {
                // Today's mark moves to the new day.
                RefreshAlarmDays(false);
            }
        }
    }
    m_lastSeen = now;
}

// The window's place and size into the options, then the settings file.
void CCalendarWnd::SaveWindowPlace()
{
    CCalendarStyle& options = CurrentCalendarOptions();
    RECT rect;
    GetWindowRect(m_window, &rect);
    options.left = rect.left;
    options.top = rect.top;
    options.width = static_cast<WORD>(rect.right - rect.left);
    // A rolled window keeps the height it unrolls to.
    if (!m_rolled)
        options.height = static_cast<WORD>(rect.bottom - rect.top);
    SaveCalendarSettings();
}

// A colour-keyed window hears of no mouse over its see-through pixels: the
// mouse is looked for here instead.
void CCalendarWnd::OnHoverPoll()
{
    if (CurrentCalendarOptions().backgroundType != 5)
        return;
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(m_window, &cursor);
    OnMouseMove(cursor);
}

void CCalendarWnd::OnClose()
{
    if (GetKeyState(VK_MENU) < 0) {
        MessageBeep(0);
        return;
    }
    DestroyWindow(m_window);
}

void CCalendarWnd::OnDestroy(Ending ending)
{
    m_clockTimer.Kill();
    m_hoverTimer.Kill();
    if (ending == Ending::kReload)
        return;
    CCalendarStyle& options = CurrentCalendarOptions();
    if (ending == Ending::kClosed)
        options.visible = 0;
    // A filter never outlives the window.
    options.SetFilterText(nullptr);
    // A place the clock has not kept yet is kept now.
    if (m_modified)
        SaveWindowPlace();
    else
        SaveCalendarSettings();
}
