#pragma once

#include <windows.h>

// Owning wrappers of GDI fonts, brushes and pens. A failed creation throws
// CGenericException naming the operation; a failed deletion is only logged.

// The program's standard font: 13 pixels, weight 400, "Times New Roman" of
// variable pitch, stroke precision, draft quality.
LOGFONTA StandardLogFont();
// Every field; the face name cut to 31 characters and terminated.
void CopyLogFont(LOGFONTA* target, const LOGFONTA& source);
// The numeric and byte fields exactly, the face names ignoring case.
bool LogFontsEqual(const LOGFONTA& a, const LOGFONTA& b);

class CGdiFont {
public:
    // No font until ChangeLogFont.
    CGdiFont();
    // Height, weight and pitch-and-family all 0 give the standard font.
    CGdiFont(LONG height, LONG width, LONG escapement, LONG orientation, LONG weight, BYTE italic, BYTE underline,
             BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
             const char* face);
    explicit CGdiFont(const LOGFONTA& font);
    ~CGdiFont();
    CGdiFont(const CGdiFont&) = delete;
    CGdiFont& operator=(const CGdiFont&) = delete;

    // Replaces the font by one made from the LOGFONT.
    void ChangeLogFont(const LOGFONTA& font);
    HFONT GetHFONT() const { return m_font; }
    const LOGFONTA& GetLogFont() const { return m_logFont; }

private:
    void CreateOrThrow(const char* failureText);

    LOGFONTA m_logFont;
    HFONT m_font = nullptr;
};

// DeleteObject of a brush's or pen's handle; failures are left to the caller.
BOOL DeleteGdiHandle(HGDIOBJ handle);

class CGdiBrush {
public:
    explicit CGdiBrush(COLORREF color);
    ~CGdiBrush() { DeleteGdiHandle(m_brush); }
    CGdiBrush(const CGdiBrush&) = delete;
    CGdiBrush& operator=(const CGdiBrush&) = delete;

    void ChangeBrushColor(COLORREF color);
    HBRUSH GetHandle() const { return m_brush; }
    COLORREF GetColor() const { return m_color; }

private:
    HBRUSH m_brush;
    COLORREF m_color;
};

// A pen one pixel wide.
class CGdiPen {
public:
    CGdiPen(COLORREF color, int style);
    ~CGdiPen() { DeleteGdiHandle(m_pen); }
    CGdiPen(const CGdiPen&) = delete;
    CGdiPen& operator=(const CGdiPen&) = delete;

    void ChangePenColor(COLORREF color, int style);
    HPEN GetHandle() const { return m_pen; }
    COLORREF GetColor() const { return m_color; }

private:
    HPEN m_pen;
    COLORREF m_color;
    int m_style;
};

// Makes the font object a variant of the window's font (bold, underlined, of a
// point size when not 0); a window without a font, or a failure, starts from the
// system's menu font instead (bold and underline only). The caller then sets the
// font on its control.
void SetDerivedWindowFont(CGdiFont& font, HWND window, bool underline, bool bold, int points);

// A one-pixel solid line from (x1, y1) up to, not including, (x2, y2).
void DrawSolidLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);
