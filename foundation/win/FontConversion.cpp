#include "foundation/win/FontConversion.h"

#include <cstdio>
#include <cstring>

#include "foundation/win/FontFaceExists.h"
#include "foundation/win/GdiObjects.h"

// The program does not declare itself aware of the screen's resolution, so
// the system gives it one resolution for its whole run: asked once, not for
// every font (each question is three calls to the window system).
int ScreenPixelsPerInch()
{
    static const int pixels = [] {
        HDC screen = GetDC(nullptr);
        int perInch = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return perInch > 0 ? perInch : 96;
    }();
    return pixels;
}

void MakeLogFont(LOGFONTA* font, LONG height, LONG weight, BYTE pitchAndFamily, const char* face)
{
    std::memset(font, 0, sizeof *font);
    font->lfHeight = height;
    font->lfWeight = weight;
    font->lfCharSet = DEFAULT_CHARSET;
    font->lfOutPrecision = OUT_STROKE_PRECIS;
    font->lfClipPrecision = CLIP_STROKE_PRECIS;
    font->lfQuality = DRAFT_QUALITY;
    font->lfPitchAndFamily = pitchAndFamily;
    LOGFONTA probe;
    if (!FontFaceExists(&probe, face ? face : ""))
        std::snprintf(font->lfFaceName, sizeof font->lfFaceName, "Arial");
    else
        std::memcpy(font->lfFaceName, probe.lfFaceName, sizeof font->lfFaceName);
}

void CharFormatToLogFont(LOGFONTA* font, const CHARFORMATA& format)
{
    *font = StandardLogFont();
    if (format.dwMask & CFM_SIZE)
        font->lfHeight = -MulDiv(format.yHeight, ScreenPixelsPerInch(), 1440);
    if ((format.dwMask & CFM_BOLD) && (format.dwMask & CFM_ITALIC)) {
        font->lfWeight = (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
        font->lfItalic = (format.dwEffects & CFE_ITALIC) ? 1 : 0;
    }
    const DWORD lines = CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR;
    if ((format.dwMask & lines) == lines) {
        font->lfUnderline = (format.dwEffects & CFE_UNDERLINE) ? 1 : 0;
        font->lfStrikeOut = (format.dwEffects & CFE_STRIKEOUT) ? 1 : 0;
    }
    if (format.dwMask & CFM_CHARSET)
        font->lfCharSet = format.bCharSet;
    if (format.dwMask & CFM_FACE) {
        font->lfPitchAndFamily = format.bPitchAndFamily;
        std::snprintf(font->lfFaceName, sizeof font->lfFaceName, "%s", format.szFaceName);
    }
}

void LogFontToCharFormat(HWND window, CHARFORMATA* format, const LOGFONTA& font)
{
    std::memset(format, 0, sizeof *format);
    format->cbSize = sizeof *format;
    if (window)
        SendMessageA(window, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(format));
    format->cbSize = sizeof *format;
    format->dwMask |= CFM_BOLD | CFM_ITALIC | CFM_SIZE | CFM_FACE | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_CHARSET |
                      CFM_OFFSET;
    format->dwEffects &= ~(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT);
    if (font.lfWeight == FW_BOLD)
        format->dwEffects |= CFE_BOLD;
    if (font.lfItalic)
        format->dwEffects |= CFE_ITALIC;
    if (font.lfUnderline)
        format->dwEffects |= CFE_UNDERLINE;
    if (font.lfStrikeOut)
        format->dwEffects |= CFE_STRIKEOUT;
    int pixels = ScreenPixelsPerInch();
    format->yHeight = (-font.lfHeight * 1440 + (font.lfHeight <= 0 ? pixels / 2 : -pixels / 2)) / pixels;
    format->bPitchAndFamily = font.lfPitchAndFamily;
    std::snprintf(format->szFaceName, sizeof format->szFaceName, "%s", font.lfFaceName);
    format->bCharSet = font.lfCharSet;
    format->yOffset = 0;
}

LONG InWholeHalfPoints(LONG twips)
{
    const LONG twipsPerHalfPoint = 10;
    return twips - twips % twipsPerHalfPoint;
}

void SetCharFormatColor(CHARFORMATA* format, COLORREF color)
{
    format->dwMask |= CFM_COLOR;
    format->dwEffects &= ~CFE_AUTOCOLOR;
    format->crTextColor = color;
}
