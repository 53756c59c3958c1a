#include "foundation/win/FontSizeAndPixels.h"

#include "foundation/win/FontConversion.h"

void SetFontPointSize(CGdiFont& font, HFONT source, int points)
{
    LOGFONTA logFont = {};
    GetObjectA(source, sizeof logFont, &logFont);
    logFont.lfHeight = -MulDiv(points, ScreenPixelsPerInch(), 72);
    font.ChangeLogFont(logFont);
}

int FontTextHeight(HDC dc, const LOGFONTA& font)
{
    HFONT made = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(dc, made);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    DeleteObject(made);
    return metrics.tmHeight;
}

int StepFontPointSize(LONG* height, bool up)
{
    int pixelsPerInch = ScreenPixelsPerInch();
    int points = MulDiv(-*height, 72, pixelsPerInch);
    int stepped = points;
    if (up && points >= 6)
        ++stepped;
    else if (!up && points >= 7)
        --stepped;
    *height = -MulDiv(stepped, pixelsPerInch, 72);
    return stepped == points ? 1 : 0;
}

void ReplacePixelColor(HDC dc, int width, int height, COLORREF from, COLORREF to)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (GetPixel(dc, x, y) == from)
                SetPixel(dc, x, y, to);
}

void DrawTriangle(HDC dc, const POINT points[3], COLORREF background, COLORREF text)
{
    COLORREF previousBackground = SetBkColor(dc, background);
    COLORREF previousText = SetTextColor(dc, text);
    Polygon(dc, points, 3);
    SetBkColor(dc, previousBackground);
    SetTextColor(dc, previousText);
}
