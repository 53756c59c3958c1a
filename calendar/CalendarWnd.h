#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "calendar/ExtraMonthGrid.h"
#include "calendar/FilterEdit.h"
#include "calendar/MonthGrid.h"
#include "foundation/DateTime.h"
#include "foundation/win/CoolMenu.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/GdiObjects.h"
#include "foundation/win/LoadedBitmap.h"
#include "foundation/win/Timer.h"

class CCalendarStyle;
struct HoverButtonBackground;

// The calendar window's object: the four month grids over dialog 742, the
// background the transparent controls borrow, the caption with today's long
// date, the clock that keeps the date current, and the months shown. It lives
// exactly as long as the window and reads and writes the current calendar
// options each time it needs them, keeping no pointer to them.
class CCalendarWnd {
public:
    enum { kClockTimer = 20003, kClockPeriod = 5000, kHoverTimer = 20004, kHoverPeriod = 300 };
    enum { kTodaySize = 126 };

    explicit CCalendarWnd(HWND window);
    ~CCalendarWnd();
    CCalendarWnd(const CCalendarWnd&) = delete;
    CCalendarWnd& operator=(const CCalendarWnd&) = delete;

    // The object of a calendar window; null before WM_INITDIALOG and after
    // WM_DESTROY.
    static CCalendarWnd* FromWindow(HWND window);

    void OnInitDialog();
    // The dialog procedure's messages; true when handled, with the result
    // the dialog manager is to return.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Why the window goes: closed by the user, by the program's end (it opens
    // again at the next start), or to be made again from reloaded options.
    enum class Ending { kClosed, kProgramEnd, kReload };
    // WM_DESTROY: the options remember whether the window was left open, and
    // the settings file is written; nothing of either for a reload, whose
    // options are not the window's any more.
    void OnDestroy(Ending ending);

    // Takes the settings of the record as the calendar's own and rebuilds only
    // what they change. Read from the record: automaticResizing (only when not
    // from a style), showOtherDays, showGrid, the caption's colours and font,
    // the days font, firstDayOfWeek and nrOfMonthsToShow (only without a
    // source style), every colour, the background (type, picture, tiling),
    // stayOnTop, hasBorder, rollUp, transparency, the hotkey and the marks of
    // alarm days. The source style is the style being applied (null from the
    // settings dialog); fromStyle is true for a style.
    void ApplySettings(const CCalendarStyle& values, const CCalendarStyle* sourceStyle, bool fromStyle);
    // One of the user's nine calendar styles (0 to 8); another index does
    // nothing.
    void ApplyStyle(int index);
    // The settings dialog; on OK its values are applied.
    void OpenSettings();

    CMonthGrid& MainGrid() { return m_main; }
    // 1 to 3: the second to fourth months.
    CExtraMonthGrid& ExtraGrid(int index);
    const char* GetTodayText() const { return m_today; }

private:
    // Lifetime and the clock (CalendarWnd.cpp).
    void ApplyGridStyles();
    void SetUpStrip();
    void ApplyTransparency();
    void LoadBackgroundPicture();
    void PlaceWindow();
    void OnTimer(UINT_PTR id);
    void OnClockTick();
    void SaveWindowPlace();
    void OnHoverPoll();
    void OnMouseMove(POINT point);
    void OnClose();

    // Painting (CalendarWndPaint.cpp).
    void PaintBackgroundDC();
    bool HasBackground() const;
    void OnEraseBackground(HDC dc);
    void PaintControlBackground(const HoverButtonBackground& background);
    void OnNcPaint();
    void OnNcActivate(bool active);
    void PaintFrameStrips(HDC dc, const RECT& window, const RECT& client);
    void PaintBorder(HDC dc, int width, int height, int captionHeight, bool captionOnly);
    void PaintCaption(HDC dc);
    int CaptionHeight() const;

    // Settings and styles (CalendarWndApply.cpp).
    bool LoadBackgroundTexture(const char* name, BYTE tileStretch);
    bool ApplyLayeredStyle(BYTE oldTransparency, DWORD oldType, bool colourKeyChanged);
    void ApplyHotkey(const CCalendarStyle& values);
    void SetWeekStart(bool sundayFirst);
    void LayOutGrids(bool refill);

    // Months (CalendarWndMonths.cpp).
    void FillGrid(CMonthGridDays& grid, bool withDates = true);
    void FillMainGrid();
    void ComputeExtraMonths();
    void PlaceExtraGrids(bool withDates = true);
    void RefreshSecondaryMonths(bool repaint);
    int SetMonthsShown(int oldValue, int newValue, bool repaint);
    void HideExtraGrids(int fromIndex);
    void ToggleThreeMonths();
    void ToggleFourMonths();
    void AfterMonthsToggled();
    void FitToGrids();
    SIZE GridsExtent() const;
    void GrowToGrids();
    void RefreshAlarmDays(bool reAsk);
    void KeepMainMonth();

    // The menu and the commands of the frame (CalendarWndMenu.cpp).
    void ShowContextMenu(POINT clientPoint);
    void BuildContextMenu();
    void OnRightButtonDown(POINT clientPoint);
    bool OnMenuItem(UINT message, LPARAM lParam);
    void ToggleStayOnTop();
    void SetStayOnTop();
    void ToggleBorder();
    void ToggleRollUp();
    void NewAlarmNoteOnMenuDate();
    void OpenHelp();
    void CopyAsImage();

    // The "Notes containing: " bar (CalendarFilterBar.cpp).
    void AttachFilterBar();
    void OpenFilterBar();
    void CloseFilterBar(bool clear);
    void OnFilterChanged();
    void DrawFilterLabel(const DRAWITEMSTRUCT& item);

    // Tips and the close box (CalendarWndTips.cpp).
    void CreateTips();
    void OnNcMouseMove(WPARAM hit, POINT screenPoint);
    void OnCloseTick();
    void EndCloseHover();
    bool CloseBoxClicked() const;
    void DrawCloseBox(HDC dc, int windowWidth, int captionHeight);
    void OnNcMouseLeave();
    void OnClientMouseLeave();
    void RelayClientTip(POINT clientPoint);
    bool OnTipText(NMTTDISPINFOA& info);

    // Rolling up to the caption (CalendarWndRollUp.cpp).
    void RollUp();
    void RollDown();
    // The mouse is over the window or one of its controls.
    bool CursorOverWindow() const;
    void StopRollTimer();
    void OnRollTick();
    void OnExitSizeMove();
    void OnCaptionHover(LPARAM hit, POINT screenPoint);
    void OnCaptionLeft();

    // The frame's mouse (CalendarWndCaption.cpp).
    bool InIconZone(POINT screenPoint) const;
    bool OnNcLeftButtonDown(WPARAM hit, POINT screenPoint, LRESULT* result);
    void OnNcRightButtonDown(POINT screenPoint);
    void OpenDateAndTimeSettings();

    // Sizing (CalendarWndSizing.cpp).
    void OnSize(UINT type, int width, int height);
    bool FitDaysFont(LOGFONTA* font);
    void TakeDaysFont(const LOGFONTA& font);

    // Commands and keys (CalendarWndCommands.cpp).
    bool OnCommand(WORD id, WORD code);
    void OnKeyDown(WPARAM key);
    void Navigate(WORD id);
    void Raise();
    void OnActivate(bool active);
    bool OnNcHitTest(LPARAM point, LRESULT* result);

    HWND m_window;
    CTimer m_clockTimer;
    CTimer m_hoverTimer;
    CMonthGrid m_main;
    CExtraMonthGrid m_second;
    CExtraMonthGrid m_third;
    CExtraMonthGrid m_fourth;
    CMemoryDC m_background;
    bool m_backgroundMade = false;
    CLoadedBitmap m_picture;
    CBrushEntry m_captionBrush;
    CBrushEntry m_dialogBrush;
    // 0 idle, 1 the user is sizing, 2 a size change is being handled.
    BYTE m_resizeState = 0;
    char m_today[kTodaySize] = "";
    CGdiFont m_captionFont;
    CGdiFont m_stripFont;
    CDateTime m_lastSeen{0, 0, 0};
    // The height of the strip over the first month, where the filter shows;
    // the first month's left margin; the gap between it and the column of
    // the others.
    int m_stripHeight = 0;
    int m_gridLeft = 1;
    int m_columnGap = 15;
    bool m_initialising = true;
    bool m_modified = false;
    bool m_broughtForward = false;
    bool m_inSizeMove = false;

    CCoolMenu m_menu;
    bool m_menuOpen = false;
    // The day the menu was asked for; day 0 for none.
    CDateTime m_menuDate{0, 0, 0};
    // Set while the calendar's own menu or settings dialog is open: the
    // window does not roll up under them.
    bool m_hold = false;

    enum { kRollTimer = 20, kRollPeriod = 500, kCloseBoxTimer = 21 };
    CTimer m_rollTimer;
    bool m_rolled = false;
    // Moved by the user since it was last unrolled.
    bool m_moved = false;
    // 0 idle, 1 waiting for the hover tick, 2 unrolled by hovering.
    int m_rollHoverState = 0;

    // The tips of the close box, the caption's icon zone, the rest of the
    // caption and the calendar's own area.
    HWND m_closeTip = nullptr;
    HWND m_iconTip = nullptr;
    HWND m_captionTip = nullptr;
    HWND m_clientTip = nullptr;
    char m_tipText[70] = "";
    bool m_ncTracking = false;
    bool m_clientTracking = false;
    // The mouse rests on the close box's spot; the box shows from the first tick.
    bool m_overClose = false;
    int m_closeTicks = 0;
    CTimer m_closeTimer;

    CDrawnLabel m_filterLabel;
    CFilterEdit m_filterEdit;
    bool m_filterShown = false;
};
