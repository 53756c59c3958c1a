// A style button's thumbnail, and when two styles are alike.
#include <string>

#include "calendar/CalendarBackground.h"
#include "calendar/CalendarStyleButton.h"
#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/GdiObjects.h"
#include "foundation/win/LoadedBitmap.h"

namespace {
const int kThumbWidth = 15;
const int kCaptionHeight = 5;
const int kBodyHeight = 10;

void FillStyleButtonRect(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    const RECT area = {left, top, right, bottom};
    FillRect(dc, &area, BrushCache().GetBrush(color).brush);
}
}

bool LoadCalendarTexture(CLoadedBitmap& picture, const char* name)
{
    if (!name || !name[0])
        return false;
    const std::string path = DataFilePath((std::string(DataName::kTexturesFolder) + "\\" + name).c_str());
    return FileExists(path.c_str()) && picture.LoadImageFromFile(GetModuleHandleA(nullptr), path.c_str()) &&
           picture.GetWidth() > 0 && picture.GetHeight() > 0;
}

void RenderStyleBody(CMemoryDC& body, HDC reference, const CCalendarStyle& style)
{
    const RECT size = {0, 0, kThumbWidth, kBodyHeight};
    body.Create(reference, size);
    if (!body.GetBitmap())
        return;
    FillStyleButtonRect(body.GetHandle(), 0, 0, kThumbWidth, kBodyHeight, style.dialogBackColor);
    CLoadedBitmap picture;
    if (LoadCalendarTexture(picture, style.backgroundImage)) {
        CCompatibleDC source(reference);
        DrawBitmapStretchedOrTiled(source.GetHandle(), body.GetHandle(), picture.GetBitmap(), picture.GetWidth(),
                                   picture.GetHeight(), style.tileStretch != 0, kThumbWidth, kBodyHeight);
    } else if (style.backgroundType >= 1 && style.backgroundType <= 3) {
        DrawGradient(static_cast<int>(style.backgroundType), 0, 0, kThumbWidth, kBodyHeight, body.GetHandle(),
                     style.dialogBackColor);
    }
}

void PaintCalendarStyleButton(HDC dc, const RECT& rect, bool pressed, const CCalendarStyle& style, HDC body)
{
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    RECT edge = rect;
    DrawEdge(dc, &edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int x = rect.left + 4 + (pressed ? 1 : 0);
    const int y = rect.top + 4 + (pressed ? 1 : 0);
    FillStyleButtonRect(dc, x, y, x + kThumbWidth, y + kCaptionHeight, style.dialogTitleBackColor);
    if (body)
        BitBlt(dc, x, y + kCaptionHeight, kThumbWidth, kBodyHeight, body, 0, 0, SRCCOPY);
    if (style.showGrid == 1) {
        const COLORREF tint = GetBackgroundTint(style.daysAreaTextColor);
        for (int column : {1, 5, 9, 13})
            FillStyleButtonRect(dc, x + column, y + 6, x + column + 1, y + 15, tint);
        for (int row : {6, 10, 14})
            FillStyleButtonRect(dc, x + 1, y + row, x + 14, y + row + 1, tint);
    }
    if (style.stayOnTop == 1 || style.hasBorder == 1) {
        const COLORREF color = style.stayOnTop == 1 ? RGB(255, 0, 0) : RGB(0, 0, 255);
        for (int row : {0, 5, 14})
            FillStyleButtonRect(dc, x, y + row, x + 15, y + row + 1, color);
        for (int column : {0, 14})
            FillStyleButtonRect(dc, x + column, y, x + column + 1, y + 15, color);
    }
}

bool IsSameCalendarStyle(const CCalendarStyle& a, const CCalendarStyle& b)
{
    return a.showOtherDays == b.showOtherDays && a.showGrid == b.showGrid &&
           a.dialogTitleBackColor == b.dialogTitleBackColor && a.dialogTitleTextColor == b.dialogTitleTextColor &&
           a.daysAreaTextColor == b.daysAreaTextColor && a.prevNextForeColor == b.prevNextForeColor &&
           a.calendarTitleBackColor == b.calendarTitleBackColor &&
           a.calendarTitleTextColor == b.calendarTitleTextColor && a.calendarTitleStyle == b.calendarTitleStyle &&
           a.weekdayBackColor == b.weekdayBackColor && a.weekdayTextColor == b.weekdayTextColor &&
           a.dialogBackColor == b.dialogBackColor && a.daysAreaBackColor == b.daysAreaBackColor &&
           a.backgroundType == b.backgroundType && a.tileStretch == b.tileStretch && a.stayOnTop == b.stayOnTop &&
           a.hasBorder == b.hasBorder && a.rollUp == b.rollUp && a.transparency == b.transparency &&
           a.daysWithAlarmBold == b.daysWithAlarmBold && a.daysWithAlarmUnderline == b.daysWithAlarmUnderline &&
           a.daysWithAlarmIsShade == b.daysWithAlarmIsShade &&
           a.daysWithAlarmShadeColor == b.daysWithAlarmShadeColor &&
           LogFontsEqual(a.daysFont.logFont, b.daysFont.logFont) &&
           LogFontsEqual(a.titleFont.logFont, b.titleFont.logFont) &&
           lstrcmpiA(a.backgroundImage, b.backgroundImage) == 0;
}
