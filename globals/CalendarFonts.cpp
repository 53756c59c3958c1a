#include "globals/CalendarFonts.h"

#include <cstring>

#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/FontConversion.h"
#include "foundation/win/FontSizeAndPixels.h"

void MakeCalendarFont(CFontEntry* entry, const LOGFONTA& source, int points)
{
    LOGFONTA font = source;
    font.lfHeight = -MulDiv(points, ScreenPixelsPerInch(), 72);
    *entry = FontCache().GetFont(font);
}

void MakeSmallerCalendarFont(CFontEntry* entry, const LOGFONTA& source)
{
    const int points = MulDiv(-source.lfHeight, 72, ScreenPixelsPerInch());
    if (points >= 8)
        MakeCalendarFont(entry, source, points - 1);
    else
        *entry = FontCache().GetFont(source);
}

bool AdjustFontSize(CGdiFont& font, const LOGFONTA& source, bool up)
{
    LOGFONTA stepped = source;
    const bool unchanged = StepFontPointSize(&stepped.lfHeight, up) != 0;
    font.ChangeLogFont(stepped);
    return unchanged;
}

namespace {
// The rightmost column of a 32-bit top-down picture that is not white, + 1.
int InkRight(const DWORD* pixels, int width, int height)
{
    for (int x = width - 1; x >= 0; --x)
        for (int y = 0; y < height; ++y)
            if ((pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) != 0xFFFFFF)
                return x + 1;
    return 0;
}
}

void MeasureTextInkWidth(int* width, int* height, HFONT font, const char* text)
{
    HDC screen = GetDC(nullptr);
    CCompatibleDC dc(screen);
    ReleaseDC(nullptr, screen);
    CObjectSelector fontSelected(dc.GetHandle(), font);
    const int length = static_cast<int>(std::strlen(text));
    SIZE extent = {};
    GetTextExtentPoint32A(dc.GetHandle(), text, length, &extent);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc.GetHandle(), &metrics);
    *width = extent.cx;
    *height = metrics.tmHeight;
    if (length == 0 || extent.cx <= 0 || metrics.tmHeight <= 0)
        return;

    // Drawn black on white into a picture twice the extent's width, whose
    // pixels are then read back.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 2 * extent.cx;
    info.bmiHeader.biHeight = -metrics.tmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CBitmapHolder picture(CreateDIBSection(dc.GetHandle(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture.Get() || !bits)
        return;
    CObjectSelector pictureSelected(dc.GetHandle(), picture.Get());
    RECT rect = {0, 0, 2 * extent.cx, metrics.tmHeight};
    FillRect(dc.GetHandle(), &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc.GetHandle(), RGB(0, 0, 0));
    SetBkMode(dc.GetHandle(), TRANSPARENT);
    DrawTextA(dc.GetHandle(), text, length, &rect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    GdiFlush();
    *width = InkRight(static_cast<const DWORD*>(bits), rect.right, metrics.tmHeight);
}
