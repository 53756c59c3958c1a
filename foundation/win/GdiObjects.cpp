#include "foundation/win/GdiObjects.h"

#include <cstring>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/FontConversion.h"

// Older systems refuse the larger structure of newer headers.
static_assert(sizeof(NONCLIENTMETRICSA) == 340, "the program asks for the 340-byte non-client metrics");

namespace {
void CopyFaceName(char* target, const char* face)
{
    size_t length = face ? strnlen(face, LF_FACESIZE - 1) : 0;
    std::memcpy(target, face ? face : "", length);
    std::memset(target + length, 0, LF_FACESIZE - length);
}
}

LOGFONTA StandardLogFont()
{
    return LOGFONTA{-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS,
                    DRAFT_QUALITY, VARIABLE_PITCH | FF_ROMAN, "Times New Roman"};
}

void CopyLogFont(LOGFONTA* target, const LOGFONTA& source)
{
    LOGFONTA copy = source;
    CopyFaceName(copy.lfFaceName, source.lfFaceName);
    *target = copy;
}

bool LogFontsEqual(const LOGFONTA& a, const LOGFONTA& b)
{
    if (a.lfHeight != b.lfHeight || a.lfWidth != b.lfWidth || a.lfEscapement != b.lfEscapement ||
        a.lfOrientation != b.lfOrientation || a.lfWeight != b.lfWeight)
        return false;
    if (a.lfItalic != b.lfItalic || a.lfUnderline != b.lfUnderline || a.lfStrikeOut != b.lfStrikeOut ||
        a.lfCharSet != b.lfCharSet || a.lfOutPrecision != b.lfOutPrecision ||
        a.lfClipPrecision != b.lfClipPrecision || a.lfQuality != b.lfQuality ||
        a.lfPitchAndFamily != b.lfPitchAndFamily)
        return false;
    char faceA[LF_FACESIZE];
    char faceB[LF_FACESIZE];
    CopyFaceName(faceA, a.lfFaceName);
    CopyFaceName(faceB, b.lfFaceName);
    return lstrcmpiA(faceA, faceB) == 0;
}

CGdiFont::CGdiFont()
{
    std::memset(&m_logFont, 0, sizeof m_logFont);
}

CGdiFont::CGdiFont(LONG height, LONG width, LONG escapement, LONG orientation, LONG weight, BYTE italic,
                   BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                   BYTE pitchAndFamily, const char* face)
{
    if (height == 0 && weight == 0 && pitchAndFamily == 0) {
        m_logFont = StandardLogFont();
    } else {
        m_logFont = LOGFONTA{height, width, escapement, orientation, weight, italic, underline, strikeOut,
                             charSet, outPrecision, clipPrecision, quality, pitchAndFamily, ""};
        CopyFaceName(m_logFont.lfFaceName, face);
    }
    CreateOrThrow("CreateFontIndirect, first constructor failed ");
}

CGdiFont::CGdiFont(const LOGFONTA& font)
{
    CopyLogFont(&m_logFont, font);
    CreateOrThrow("CreateFontIndirect,second constructor failed ");
}

CGdiFont::~CGdiFont()
{
    if (m_font && !DeleteObject(m_font))
        AppendTextToFile("DeleteObject for destructor font failed\r\n", "messages.txt");
}

void CGdiFont::CreateOrThrow(const char* failureText)
{
    m_font = CreateFontIndirectA(&m_logFont);
    if (!m_font)
        throw CGenericException(failureText);
}

void CGdiFont::ChangeLogFont(const LOGFONTA& font)
{
    if (m_font && !DeleteObject(m_font))
        AppendTextToFile("DeleteObject for ChangeLogFont* failed\r\n", "actionDebug.txt");
    m_font = nullptr;
    CopyLogFont(&m_logFont, font);
    CreateOrThrow("CreateFontIndirect,ChangeFont failed 2");
}

BOOL DeleteGdiHandle(HGDIOBJ handle)
{
    return handle ? DeleteObject(handle) : FALSE;
}

CGdiBrush::CGdiBrush(COLORREF color) : m_color(color)
{
    m_brush = CreateSolidBrush(color);
    if (!m_brush)
        throw CGenericException("CreateSolidBrush failed");
}

void CGdiBrush::ChangeBrushColor(COLORREF color)
{
    if (m_brush && !DeleteObject(m_brush))
        AppendTextToFile("DeleteObject for ChangeBrushColor destructor failed\r\n", "actionDebug.txt");
    m_color = color;
    m_brush = CreateSolidBrush(color);
    if (!m_brush)
        throw CGenericException("CreateSolidBrush failed");
}

CGdiPen::CGdiPen(COLORREF color, int style) : m_color(color), m_style(style)
{
    m_pen = CreatePen(style, 0, color);
    if (!m_pen) {
        ShowErrorMessage(nullptr, "CreatePen failed", ProgramTitle);
        throw CGenericException("CreatePen failed");
    }
}

void CGdiPen::ChangePenColor(COLORREF color, int style)
{
    m_color = color;
    m_style = style;
    if (m_pen && !DeleteObject(m_pen))
        throw CGenericException("ChangePenColor::DeleteObject failed");
    m_pen = CreatePen(style, 0, color);
    if (!m_pen)
        throw CGenericException("CreatePen assignment op COLORREF failed");
}

void SetDerivedWindowFont(CGdiFont& font, HWND window, bool underline, bool bold, int points)
{
    LOGFONTA logFont;
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (current && GetObjectA(current, sizeof logFont, &logFont) == sizeof logFont) {
        if (bold)
            logFont.lfWeight = FW_BOLD;
        if (underline)
            logFont.lfUnderline = 1;
        if (points != 0)
            logFont.lfHeight = -MulDiv(points, ScreenPixelsPerInch(), 72);
        try {
            font.ChangeLogFont(logFont);
            return;
        } catch (...) {
            // The menu font below serves instead.
        }
    }
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    logFont = metrics.lfMenuFont;
    if (bold)
        logFont.lfWeight = FW_BOLD;
    if (underline)
        logFont.lfUnderline = 1;
    font.ChangeLogFont(logFont);
}

void DrawSolidLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, previous);
    DeleteObject(pen);
}
