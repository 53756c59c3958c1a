#pragma once

#include <windows.h>

#include "calendar/controls/DrawnControl.h"
#include "foundation/DateTime.h"
#include "foundation/win/Timer.h"

// One of the 42 day cells of a month grid (six rows of seven): the day
// number, the marks of a day that holds alarm notes, today's red frame, grid
// lines, hover and focus. A click on an alarm day asks the main window for
// that day's notes, a double click for a new alarm note, a right click for
// the calendar's menu; the keys move between days and the arrow buttons. A
// cell whose day is 0 is empty. Cells of the settings preview only show.
class CDayButton {
public:
    enum { kClickTimer = 22, kHoverTimer = 20003, kTipSize = 150 };

    CDayButton();
    ~CDayButton() { Detach(); }
    CDayButton(const CDayButton&) = delete;
    CDayButton& operator=(const CDayButton&) = delete;

    // Finds the dialog's item ("could not create day button" when it is
    // missing) and subclasses it.
    void Attach(HWND parent, int controlId);
    // Stops both timers and gives the item its own procedure back.
    void Detach();

    // The parent's WM_DRAWITEM for the cell.
    void Draw(const DRAWITEMSTRUCT& item);
    // The tip for the cell as it is now (made on first use).
    void UpdateTooltip();

    // A new date for the cell (day 0: empty); the alarm-day answer is asked
    // again at the next paint.
    void SetDate(BYTE day, BYTE month, WORD year, bool otherMonth);
    // The next paint asks the main window again when set.
    void SetReAsk(bool reAsk) { m_reAsk = reAsk; }
    void SetFont(HFONT font) { m_font = font; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    void SetBackground(COLORREF color, bool transparent);
    void SetAlarmMarks(bool bold, bool underline, bool shade, COLORREF shadeColor);
    void SetGrid(bool grid) { m_grid = grid; }
    // With other months' days shown every cell holds a date and the arrow
    // keys go by cell; without, they go by date.
    void SetShowOtherDays(bool show) { m_showOtherDays = show; }
    void SetNoFocusRect(bool noFocusRect) { m_noFocusRect = noFocusRect; }
    void SetPreview(bool preview) { m_preview = preview; }
    void SetPreviewTips(const char* dayTip, const char* blankTip);

    HWND GetWindow() const { return m_window; }
    int GetControlId() const { return m_controlId; }
    const CDateTime& GetDate() const { return m_date; }
    bool IsEmpty() const { return m_date.m_day == 0; }
    bool IsOtherMonth() const { return m_otherMonth; }
    bool IsAlarmDay() const { return m_alarmDay; }
    bool IsHovering() const { return m_hover; }
    UINT GetClickTimerPeriod() const { return m_clickTimer.GetPeriod(); }
    const char* GetTooltipText() const { return m_tip.GetText(); }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Where the cell lies in its grid: index 0-41, row by row.
    int IndexInGrid() const { return m_controlId - m_firstCellId; }
    HWND Neighbour(int offset) const;
    bool IsToday() const;

    void PaintBackground(HDC dc);
    void PaintDay(const CItemCanvas& canvas, UINT itemState);
    void PaintEmpty(HDC dc, int width, int height);

    void OnLeftButtonDown(WPARAM flags, LPARAM point);
    void OnClickTick();
    void OnHoverTick();
    void OnMouseMove();
    // An empty cell of the first or of the last two rows hands the focus on.
    void OnSetFocus();
    bool OnKeyDown(WPARAM key, LPARAM lParam);
    bool OnChar(WPARAM key);
    void StepBack(LPARAM marker);
    void StepForward(LPARAM marker);
    void FocusControl(HWND control);
    void FocusNeighbour(int offset);

    HWND m_parent = nullptr;
    HWND m_window = nullptr;
    int m_controlId = 0;
    int m_firstCellId = 0;
    WNDPROC m_previous = nullptr;
    bool m_hasFocus = false;
    bool m_noFocusRect = false;
    bool m_hover = false;
    bool m_alarmDay = false;
    CDateTime m_date;
    HFONT m_font = nullptr;
    COLORREF m_textColor = 0;
    bool m_transparent = false;
    COLORREF m_backgroundColor = 0;
    bool m_alarmBold = false;
    bool m_alarmUnderline = false;
    bool m_alarmShade = false;
    COLORREF m_shadeColor = 0;
    bool m_grid = false;
    CTimer m_clickTimer;
    bool m_secondClick = false;
    bool m_otherMonth = false;
    CControlTip m_tip;
    char m_previewDayTip[kTipSize] = "";
    char m_previewBlankTip[kTipSize] = "";
    bool m_preview = false;
    CTimer m_hoverTimer;
    bool m_reAsk = true;
    bool m_showOtherDays = false;
};

// The first cell id of the grid that holds the cell id (1406, 1449, 1501 or
// 1551); the id itself when no grid holds it.
int FirstCellIdOf(int controlId);
