// The settings dialog's preview: one month drawn by the calendar's own
// controls over a canvas that imitates the calendar window's caption, border
// and background, laid out inside the preview's frame.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "calendar/CalendarBackground.h"
#include "calendar/CalendarSettingsDlgWnd.h"
#include "foundation/Clock.h"
#include "foundation/TextFormatting.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/FontConversion.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/HoverButton.h"
#include "foundation/win/LoadedBitmap.h"
#include "foundation/win/Tooltips.h"
#include "foundation/win/WindowHelpers.h"
#include "resources/ids/CalendarIds.h"
#include "resources/ids/CalendarSettingsIds.h"

namespace {
const char kCalendarSettingsPreviewTextTip[] = "Click to change the calendar text colour/font";
const char kCaptionTextTip[] = "Click to change the title text colour/font";
const char kCaptionBackTip[] = "Click to change the title background colour";
const COLORREF kOnTopRed = RGB(255, 0, 0);
const COLORREF kBorderBlue = RGB(0, 0, 255);

int LineHeight(HFONT font)
{
    CScreenCanvas screen;
    CObjectSelector selected(screen.GetHandle(), font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen.GetHandle(), &metrics);
    return metrics.tmHeight;
}

void FrameWithPen(HDC dc, const RECT& rect, int width, COLORREF color)
{
    HBRUSH brush = BrushCache().GetBrush(color).brush;
    for (int step = 0; step < width; ++step) {
        const RECT ring = {rect.left + step, rect.top + step, rect.right - step, rect.bottom - step};
        FrameRect(dc, &ring, brush);
    }
}

// Text in a colour, transparent, one line, at the bottom of the rectangle.
void DrawBottomText(HDC dc, const char* text, RECT rect, HFONT font, COLORREF color)
{
    CObjectSelector selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextA(dc, text, -1, &rect, DT_SINGLELINE | DT_BOTTOM | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
}
}

void CCalendarSettingsWnd::BuildPreview()
{
    m_frame = std::make_unique<CParentPaintedStatic>(m_dialog, IDC_CALSET_PREVIEW);
    if (m_frame->GetWindow())
        GetRectInParent(m_frame->GetWindow(), m_dialog, &m_frameRect);
    m_regionTip = CreateTooltipControl(m_dialog);
    m_captionTextTip = CreateTooltipControl(m_dialog);
    m_captionBackTip = CreateTooltipControl(m_dialog);
    for (HWND tip : {m_regionTip, m_captionTextTip, m_captionBackTip}) {
        if (tip)
            SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 30000);
    }
    m_grid = std::make_unique<CMonthGrid>(m_dialog, m_settings);
    m_grid->SetNoErase(true);
    for (CDrawnButton* arrow : {&m_grid->PreviousYearButton(), &m_grid->PreviousMonthButton(),
                                &m_grid->NextMonthButton(), &m_grid->NextYearButton()}) {
        arrow->SetPreview(true);
        arrow->SetTooltipText(kCalendarSettingsPreviewTextTip);
    }
    m_grid->TitleButton().SetStatic(true);
    m_grid->TitleButton().SetTooltipText(kCalendarSettingsPreviewTextTip);
    for (int column = 0; column < 7; ++column) {
        m_grid->Weekday(column).SetPreview(true);
        m_grid->Weekday(column).SetTooltipText(kCalendarSettingsPreviewTextTip);
    }
    for (int index = 0; index < 42; ++index)
        m_grid->Cell(index).SetPreview(true);
    ApplyLookToPreview();
    FillPreviewMonth();
    LayOutPreview();
    if (m_settings.rollUp == 1)
        ShowRolledUp();
    RenderCanvas();
}

void CCalendarSettingsWnd::TakeDaysFont(const LOGFONTA& font)
{
    m_settings.SetDaysFont(font);
    ApplyLookToPreview();
}

// Every drawn part takes the fonts and colours of the working settings.
void CCalendarSettingsWnd::ApplyLookToPreview()
{
    m_grid->ApplyStyle(m_settings, m_settings.daysFont.font, m_settings.daysFontSmaller.font);
    // The preview frames its title row in the text colour.
    CDlgDrawnFrame& row = m_grid->TitleRowFrame();
    row.SetMode(CDlgDrawnFrame::kFramed);
    row.SetColor(m_settings.daysAreaTextColor);
    row.SetTransparent(m_settings.daysAreaTransparent != 0);
    for (int index = 0; index < 42; ++index)
        m_grid->Cell(index).SetPreviewTips(kCalendarSettingsPreviewTextTip, m_backgroundTip);
}

void CCalendarSettingsWnd::FillPreviewMonth()
{
    m_grid->SetShowOtherDays(m_settings.showOtherDays == 1);
    m_grid->FillDates();
}

int CCalendarSettingsWnd::CaptionHeight() const
{
    const int system = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYBORDER);
    return std::max(m_settings.titleFont.font ? LineHeight(m_settings.titleFont.font) : 0, system);
}

// The month under the caption, centred across the frame; weekday names and
// title follow the days font, and what does not fit is put out of sight.
void CCalendarSettingsWnd::LayOutPreview()
{
    m_captionHeight = CaptionHeight();
    m_grid->Measure();
    m_settings.weekdaysAbbrev = m_grid->GetWeekdayNameLength();
    m_grid->FillWeekdayNames();
    m_grid->UpdateTitle();
    const int width = 7 * m_grid->GetCellWidth();
    const int frameWidth = m_frameRect.right - m_frameRect.left;
    const int left = m_frameRect.left + std::max(3, (frameWidth - width) / 2);
    m_grid->SetOrigin(left, m_frameRect.top + m_captionHeight + 8);
    m_grid->LayOut();
    KeepPartsInsideFrame();
    ComputeRegions();
    RegisterRegionTips();
}

void CCalendarSettingsWnd::KeepPartsInsideFrame()
{
    auto keep = [&](HWND part) {
        if (!part)
            return;
        RECT rect;
        GetRectInParent(part, m_dialog, &rect);
        if (rect.right > m_frameRect.right || rect.bottom > m_frameRect.bottom)
            MoveWindow(part, m_frameRect.right - 1, m_frameRect.bottom - 1, 1, 1, FALSE);
    };
    keep(m_grid->TitleRowFrame().GetWindow());
    for (CDrawnButton* arrow : {&m_grid->PreviousYearButton(), &m_grid->PreviousMonthButton(),
                                &m_grid->NextMonthButton(), &m_grid->NextYearButton()})
        keep(arrow->GetWindow());
    keep(m_grid->TitleButton().GetWindow());
    keep(m_grid->WeekdayLine().GetWindow());
    for (int column = 0; column < 7; ++column)
        keep(m_grid->Weekday(column).GetWindow());
    for (int index = 0; index < 42; ++index)
        keep(m_grid->Cell(index).GetWindow());
}

// The caption's two halves, and ten background rectangles under it that
// split the frame's left and right halves by the title row and the day rows.
void CCalendarSettingsWnd::ComputeRegions()
{
    const LONG l = m_frameRect.left, t = m_frameRect.top, r = m_frameRect.right, b = m_frameRect.bottom;
    const LONG m = l + (r - l) / 2;
    const LONG hc = m_captionHeight;
    m_captionText = {l, t, m, t + hc + 1};
    m_captionBack = {m + 1, t, r, t + hc + 1};
    for (RECT& region : m_regions)
        region = {};
    if (m_settings.rollUp == 1) {
        m_regions[0] = {l, t + hc + 2, m, t + 2 * hc + 2};
        m_regions[1] = {m + 1, t + hc + 2, r, t + 2 * hc + 2};
        return;
    }
    RECT row = {l, t + hc + 2, r, t + hc + 2};
    if (m_grid->TitleRowFrame().GetWindow())
        GetRectInParent(m_grid->TitleRowFrame().GetWindow(), m_dialog, &row);
    RECT cell = row;
    if (m_grid->Cell(0).GetWindow())
        GetRectInParent(m_grid->Cell(0).GetWindow(), m_dialog, &cell);
    const LONG f = row.bottom, d = cell.top;
    const LONG third = (b - d) / 3;
    const LONG tops[5] = {t + hc + 2, f + 1, d, d + third + 1, d + 2 * third + 2};
    const LONG bottoms[5] = {f, d, d + third, d + 2 * third + 1, b};
    for (int band = 0; band < 5; ++band) {
        m_regions[2 * band] = {l, tops[band], m, bottoms[band]};
        m_regions[2 * band + 1] = {m + 1, tops[band], r, bottoms[band]};
    }
}

void CCalendarSettingsWnd::RegisterRegionTips()
{
    for (UINT id = IDT_CALSET_FIRST_REGION; id <= IDT_CALSET_LAST_REGION; ++id) {
        RemoveTooltip(m_regionTip, m_dialog, id);
        const RECT& region = m_regions[id - IDT_CALSET_FIRST_REGION];
        if (region.bottom > region.top && region.right > region.left)
            AddTooltipRectCallback(m_regionTip, m_dialog, id, region);
    }
    RemoveTooltip(m_captionTextTip, m_dialog, 1);
    AddTooltipRect(m_captionTextTip, kCaptionTextTip, m_dialog, 1, m_captionText, false);
    RemoveTooltip(m_captionBackTip, m_dialog, 1);
    AddTooltipRect(m_captionBackTip, kCaptionBackTip, m_dialog, 1, m_captionBack, false);
}

// Rolled up, only the caption and the band under it remain.
void CCalendarSettingsWnd::ShowRolledUp()
{
    std::vector<HWND> parts = {m_grid->TitleRowFrame().GetWindow(),    m_grid->PreviousYearButton().GetWindow(),
                               m_grid->PreviousMonthButton().GetWindow(), m_grid->NextMonthButton().GetWindow(),
                               m_grid->NextYearButton().GetWindow(),     m_grid->TitleButton().GetWindow(),
                               m_grid->WeekdayLine().GetWindow()};
    for (int column = 0; column < 7; ++column)
        parts.push_back(m_grid->Weekday(column).GetWindow());
    for (int index = 0; index < 42; ++index)
        parts.push_back(m_grid->Cell(index).GetWindow());
    parts.erase(std::remove(parts.begin(), parts.end(), nullptr), parts.end());
    const UINT show = m_settings.rollUp == 1 ? SWP_HIDEWINDOW : SWP_SHOWWINDOW | SWP_NOACTIVATE;
    HDWP positions = BeginDeferWindowPos(static_cast<int>(parts.size()));
    for (HWND part : parts) {
        if (positions)
            positions = DeferWindowPos(positions, part, nullptr, 0, 0, 0, 0,
                                       show | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions)
        EndDeferWindowPos(positions);
}

// The canvas at the frame's size: button face, the calendar's background
// (colour, texture or gradient), the caption strip with today's date, the
// border, and the notes of a rolled-up or transparent calendar.
void CCalendarSettingsWnd::RenderCanvas()
{
    if (!m_frame || !m_frame->GetWindow())
        return;
    RECT client;
    GetClientRect(m_frame->GetWindow(), &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    {
        CClientDC reference(m_dialog);
        m_canvas.Create(reference.GetHandle(), client);
    }
    HDC dc = m_canvas.GetHandle();
    if (!dc || !m_canvas.GetBitmap())
        return;
    m_canvasMade = true;
    const CCalendarStyle& s = m_settings;
    const int width = client.right;
    const int hc = m_captionHeight = CaptionHeight();
    const int daysLine = s.daysFont.font ? LineHeight(s.daysFont.font) : 0;
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const int painted = s.rollUp == 1 ? std::min<int>(client.bottom, hc + 5 + daysLine + 1) : client.bottom;
    const RECT area = {0, 0, width, painted};
    const bool gradients = GetGradientFillFunction() != nullptr;
    if (!(s.backgroundType == 5 && gradients))
        FillRect(dc, &area, BrushCache().GetBrush(s.dialogBackColor).brush);
    if (s.backgroundImage[0]) {
        CLoadedBitmap picture;
        if (LoadCalendarTexture(picture, s.backgroundImage)) {
            CCompatibleDC source(dc);
            DrawBitmapStretchedOrTiled(source.GetHandle(), dc, picture.GetBitmap(), picture.GetWidth(),
                                       picture.GetHeight(), s.tileStretch != 0, width, painted);
        }
    } else if (s.backgroundType >= 1 && s.backgroundType <= 3 && gradients) {
        DrawGradient(static_cast<int>(s.backgroundType), 0, 0, width, painted, dc, s.dialogBackColor);
    }

    RECT caption = {0, 0, width, hc + 1};
    if (!(s.backgroundType == 5 && gradients && s.dialogTitleBackColor == s.dialogBackColor))
        FillRect(dc, &caption, BrushCache().GetBrush(s.dialogTitleBackColor).brush);
    SYSTEMTIME now = GetLocalNow();
    char today[126] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &now, nullptr, today, sizeof today);
    caption.left = 2;
    {
        CObjectSelector font(dc, s.titleFont.font ? static_cast<HGDIOBJ>(s.titleFont.font) : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, s.dialogTitleTextColor);
        DrawTextA(dc, today, -1, &caption, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }

    if (s.stayOnTop == 1 || s.hasBorder == 1) {
        const COLORREF color = s.stayOnTop == 1 ? kOnTopRed : kBorderBlue;
        FrameWithPen(dc, area, s.stayOnTop == 1 ? 2 : 1, color);
        const RECT line = {0, hc, width, hc + 1};
        FillRect(dc, &line, BrushCache().GetBrush(color).brush);
    }
    if (!s.daysFont.font)
        return;
    if (s.rollUp == 1) {
        char description[100] = "";
        DescribeFont(s.daysFont.logFont, description, sizeof description, ScreenPixelsPerInch());
        DrawBottomText(dc, description, RECT{4, hc + 1, width - 2, painted}, s.daysFont.font, s.daysAreaTextColor);
    }
    if (s.backgroundType == 5 && GridFontPoints(s.daysFont.logFont) < 14) {
        const int bottom = s.rollUp == 1 ? painted + 5 + daysLine : client.bottom - 10;
        DrawBottomText(dc, "(Transparent)", RECT{25, 0, width, bottom}, s.daysFont.font, s.daysAreaTextColor);
    }
}

// The canvas again, then the frame and every part over it.
void CCalendarSettingsWnd::Redraw()
{
    RenderCanvas();
    RedrawWindow(m_dialog, &m_frameRect, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Lines between the day cells, in the tint of the text colour, at the right
// and bottom edge of a cell whose neighbour there shows a day too. Each cell
// draws its own part when it paints, so that no repaint of a cell loses them.
void CCalendarSettingsWnd::DrawCellGrid(const DRAWITEMSTRUCT& item)
{
    const int index = static_cast<int>(item.CtlID) - IDC_CAL_DAY;
    if (m_settings.showGrid != 1 || m_settings.rollUp == 1 || m_grid->Cell(index).IsEmpty())
        return;
    const RECT& cell = item.rcItem;
    HBRUSH brush = BrushCache().GetBrush(GetBackgroundTint(m_settings.daysAreaTextColor)).brush;
    const int row = index / 7, column = index % 7;
    if (column < 6 && !m_grid->Cell(index + 1).IsEmpty()) {
        const RECT line = {cell.right - 1, cell.top, cell.right, cell.bottom};
        FillRect(item.hDC, &line, brush);
    }
    if (row < 5 && !m_grid->Cell(index + 7).IsEmpty()) {
        const RECT line = {cell.left, cell.bottom - 1, cell.right, cell.bottom};
        FillRect(item.hDC, &line, brush);
    }
}

// The cells paint again, with their grid or without it.
void CCalendarSettingsWnd::RepaintCells()
{
    for (int index = 0; index < 42; ++index)
        InvalidateRect(m_grid->Cell(index).GetWindow(), nullptr, FALSE);
    UpdateWindow(m_dialog);
}

void CCalendarSettingsWnd::PaintPartBackground(const HoverButtonBackground& part)
{
    if (!m_canvasMade)
        RenderCanvas();
    BitBlt(part.dc, 0, 0, part.client.right - part.client.left, part.client.bottom - part.client.top,
           m_canvas.GetHandle(), part.inParent.left - m_frameRect.left, part.inParent.top - m_frameRect.top, SRCCOPY);
}

void CCalendarSettingsWnd::PaintFrameFace(HDC dc) const
{
    if (m_canvasMade)
        BitBlt(dc, 0, 0, m_canvas.GetWidth(), m_canvas.GetHeight(), m_canvas.GetHandle(), 0, 0, SRCCOPY);
}

bool CCalendarSettingsWnd::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (CDlgCalendarStyleButton* button = StyleButtonOf(item.hwndItem)) {
        PaintCalendarStyleButton(item.hDC, item.rcItem, (item.itemState & ODS_SELECTED) != 0, button->GetShownStyle(),
                                 button->GetBody());
        return true;
    }
    if (!m_grid || !m_grid->DrawItem(item))
        return false;
    if (item.CtlID >= IDC_CAL_DAY && item.CtlID < IDC_CAL_DAY + 42)
        DrawCellGrid(item);
    return true;
}
