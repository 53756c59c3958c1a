// The calendar window sized by the user: with automatic resizing the days
// font follows the window, one point at a time, and the months are laid out
// again in it.
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWnd.h"
#include "calendar/GridTexts.h"
#include "foundation/StartupValues.h"
#include "foundation/win/FontSizeAndPixels.h"

namespace {
// Below this size the caption's font follows the days font.
const int kCaptionFollowsBelowPoints = 17;
}

void CCalendarWnd::OnSize(UINT type, int, int)
{
    if (m_resizeState == 2 || type == SIZE_MINIMIZED)
        return;
    LOGFONTA font = {};
    bool newFont = false;
    if (m_resizeState == 1) {
        m_resizeState = 2;
        if (CurrentCalendarOptions().automaticResizing)
            newFont = FitDaysFont(&font);
        if (!newFont)
            m_resizeState = 0;
    }
    const bool background = HasBackground() && !m_rolled;
    if (background)
        PaintBackgroundDC();
    m_modified = true;
    if (!newFont) {
        if (background)
            RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return;
    }
    TakeDaysFont(font);
    if (!GetStartupValues().fullWindowDrag)
        FitToGrids();
    m_resizeState = 0;
}

// The new days font in the options and in every month; the caption's font
// too while the days font is small, so that the caption does not tower over
// the months.
void CCalendarWnd::TakeDaysFont(const LOGFONTA& font)
{
    CCalendarStyle& options = CurrentCalendarOptions();
    options.SetDaysFont(font);
    ApplyGridStyles();
    if (GridFontPoints(font) < kCaptionFollowsBelowPoints) {
        LOGFONTA title = options.titleFont.logFont;
        title.lfHeight = font.lfHeight;
        options.SetDialogTitleFont(title);
        m_captionFont.ChangeLogFont(title);
        SendMessageA(m_window, WM_NCPAINT, 1, 0);
    }
    // Measuring picks the weekday names' length for the new size.
    FillMainGrid();
    PlaceExtraGrids();
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The days font the window's new size asks for, stepped one point at a time
// from the present one: growing while the first month still fits, shrinking
// until it fits. False when the present font stays.
bool CCalendarWnd::FitDaysFont(LOGFONTA* font)
{
    const CCalendarStyle& options = CurrentCalendarOptions();
    const bool fullDrag = GetStartupValues().fullWindowDrag != 0;
    RECT window;
    GetWindowRect(m_window, &window);
    int width = window.right - window.left;
    const int height = window.bottom - window.top;
    if (!fullDrag && (width == options.width || height == options.height))
        return false;
    const bool growing = width > options.width || height > options.height;
    // The column of the other months keeps its width: the first month has
    // what is left of the window.
    if (options.nrOfMonthsToShow > 1)
        width -= m_columnGap + 7 * m_second.GetCellWidth();
    RECT client;
    GetClientRect(m_window, &client);
    const int frame = 2 * GetSystemMetrics(SM_CXFRAME);
    const LOGFONTA start = options.daysFont.logFont;
    LOGFONTA trial = start;
    bool taken = false;
    bool atSmallest = false;
    for (int round = 0; round < 100; ++round) {
        int gridWidth = 0;
        int gridHeight = 0;
        if (fullDrag && !growing) {
            m_main.MeasureTotalSize(trial, &gridWidth, &gridHeight);
            if (gridWidth + frame <= width)
                break;
        }
        LOGFONTA stepped = trial;
        if (StepFontPointSize(&stepped.lfHeight, growing)) {
            atSmallest = !growing;
            break;
        }
        m_main.MeasureTotalSize(stepped, &gridWidth, &gridHeight);
        if (growing) {
            // Neither wider nor higher than the window.
            if (gridWidth + frame > width || gridHeight > client.bottom)
                break;
            trial = stepped;
            taken = true;
            continue;
        }
        trial = stepped;
        if (m_columnGap + gridWidth + frame < width) {
            taken = true;
            break;
        }
    }
    if (!taken && atSmallest && GridFontPoints(start) >= 8)
        taken = true;
    if (taken)
        *font = trial;
    return taken;
}
