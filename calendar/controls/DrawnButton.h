#pragma once

#include <windows.h>

#include "calendar/controls/DrawnPushButton.h"
#include "foundation/win/LoadedBitmap.h"

// One of the four arrow buttons of the first month: a small bitmap whose
// black takes the glyph colour, on the button face or, transparent, on the
// calendar's own background. Enter presses it.
class CDrawnButton : public CDrawnPushButton {
public:
    enum Kind { kMonthArrow, kYearArrow };

    CDrawnButton(HWND parent, int controlId, Kind kind);
    ~CDrawnButton() override;

    // The parent's WM_DRAWITEM for the button.
    void Draw(const DRAWITEMSTRUCT& item);
    // The arrow picture from the program's bitmap resources; false when it
    // cannot be loaded (the button then shows no arrow).
    bool LoadArrow(UINT bitmapId);
    void SetTooltipText(const char* text);

    void SetTransparent(bool transparent) { m_transparent = transparent; }
    void SetGlyphColor(COLORREF color) { m_glyphColor = color; }
    void SetPreview(bool preview) { m_preview = preview; }
    int GetArrowWidth() const { return m_arrow.GetWidth(); }
    int GetArrowHeight() const { return m_arrow.GetHeight(); }

private:
    void PaintBackground(HDC dc) override;
    HCURSOR HoverCursor() const override;
    void OnEnterKey() override;

    bool m_transparent = false;
    COLORREF m_glyphColor = 0;
    CLoadedBitmap m_arrow;
    bool m_preview = false;
};
