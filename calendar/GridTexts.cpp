#include "calendar/GridTexts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "globals/CalendarFonts.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/FontConversion.h"
#include "foundation/win/GdiObjects.h"

void PickWeekdayNameLength(int points, BYTE* length, BYTE* spacing)
{
    if (points < 8) {
        *length = 1;
        *spacing = 5;
    } else if (points == 8) {
        *length = 2;
        *spacing = 3;
    } else {
        *length = 3;
        *spacing = 2;
    }
}

void GetWeekdayName(int column, bool sundayFirst, int length, char* name, int size)
{
    // The locale counts from Monday.
    const int mondayBased = sundayFirst ? (column + 6) % 7 : column;
    char full[51] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + mondayBased, full, sizeof full);
    if (length == 1 || length == 2)
        full[std::min<size_t>(static_cast<size_t>(length), std::strlen(full))] = '\0';
    std::snprintf(name, static_cast<size_t>(size), "%.126s", full);
}

void FormatMonthTitle(int month, int year, char* text, int size)
{
    char picture[51] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SYEARMONTH, picture, sizeof picture);
    char* end = std::remove(picture, picture + std::strlen(picture), ',');
    *end = '\0';
    if (std::strspn(picture, " ") == std::strlen(picture))
        std::strcpy(picture, "MMMM yyyy");
    SYSTEMTIME first = {};
    first.wYear = static_cast<WORD>(year);
    first.wMonth = static_cast<WORD>(month);
    first.wDay = 1;
    if (!GetDateFormatA(LOCALE_USER_DEFAULT, 0, &first, picture, text, size) && size > 0)
        text[0] = '\0';
}

SIZE MeasureGridText(HDC dc, HFONT font, const char* text)
{
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    if (metrics.tmItalic) {
        int width = 0;
        int height = 0;
        MeasureTextInkWidth(&width, &height, font, text);
        size.cx = width;
        size.cy = height;
    }
    return size;
}

namespace {
// A memory DC like the screen's, for measuring.
class CMeasuringDC {
public:
    CMeasuringDC()
    {
        HDC screen = GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
    }
    ~CMeasuringDC()
    {
        if (m_dc)
            DeleteDC(m_dc);
    }
    CMeasuringDC(const CMeasuringDC&) = delete;
    CMeasuringDC& operator=(const CMeasuringDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

void Widen(const SIZE& size, int* width, int* height)
{
    *width = std::max(*width, static_cast<int>(size.cx));
    *height = std::max(*height, static_cast<int>(size.cy));
}
}

SIZE MeasureDayNumber(int day, HFONT font, bool bold, bool underline)
{
    LOGFONTA logFont = {};
    GetObjectA(font, sizeof logFont, &logFont);
    if (bold)
        logFont.lfWeight = FW_BOLD;
    if (underline)
        logFont.lfUnderline = TRUE;
    CGdiFont copy(logFont);
    char text[16];
    std::snprintf(text, sizeof text, "%2d", day);
    return MeasureGridTextInFont(copy.GetHFONT(), text);
}

SIZE MeasureGridTextInFont(HFONT font, const char* text)
{
    CMeasuringDC dc;
    CObjectSelector selected(dc.Get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    return MeasureGridText(dc.Get(), font, text);
}

int GridFontPoints(const LOGFONTA& font)
{
    return MulDiv(-font.lfHeight, 72, ScreenPixelsPerInch());
}

void MeasureGridTexts(const LOGFONTA& font, bool sundayFirst, int year, GridTextSizes* sizes)
{
    *sizes = GridTextSizes{};
    PickWeekdayNameLength(GridFontPoints(font), &sizes->nameLength, &sizes->spacing);
    CMeasuringDC dc;
    char text[128];
    {
        CGdiFont days(font);
        CObjectSelector selected(dc.Get(), days.GetHFONT());
        for (int day = 1; day <= 31; ++day) {
            std::snprintf(text, sizeof text, "%2d", day);
            Widen(MeasureGridText(dc.Get(), days.GetHFONT(), text), &sizes->dayWidth, &sizes->dayHeight);
        }
        for (int month = 1; month <= 12; ++month) {
            FormatMonthTitle(month, year, text, sizeof text);
            sizes->titles[month - 1] = MeasureGridText(dc.Get(), days.GetHFONT(), text);
            Widen(sizes->titles[month - 1], &sizes->titleWidth, &sizes->titleHeight);
        }
    }
    CGdiFont weekdayFont;
    AdjustFontSize(weekdayFont, font, false);
    CObjectSelector selected(dc.Get(), weekdayFont.GetHFONT());
    for (int column = 0; column < 7; ++column) {
        GetWeekdayName(column, sundayFirst, sizes->nameLength, text, sizeof text);
        sizes->weekdays[column] = MeasureGridText(dc.Get(), weekdayFont.GetHFONT(), text);
        Widen(sizes->weekdays[column], &sizes->weekdayWidth, &sizes->weekdayHeight);
    }
}
