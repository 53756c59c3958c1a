#pragma once

#include <windows.h>

#include "calendar/controls/DrawnPushButton.h"

// The month title of the first month, a button that brings back the current
// month: its text in the grid's font and colour over the calendar's
// background. As a plain title (the static flag) it is left-aligned and shows
// no marks.
class CTodayButton : public CDrawnPushButton {
public:
    enum { kTitleSize = 128 };

    CTodayButton(HWND parent, int controlId);
    ~CTodayButton() override;

    // The parent's WM_DRAWITEM for the button.
    void Draw(const DRAWITEMSTRUCT& item);
    // Up to 99 characters; an empty text takes the button off its tooltip.
    void SetTooltipText(const char* text);
    // Cut to the title's size.
    void SetTitle(const char* text);
    const char* GetTitle() const { return m_title; }

    void SetFont(HFONT font) { m_font = font; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    void SetTransparent(bool transparent) { m_transparent = transparent; }
    void SetStatic(bool isStatic) { m_static = isStatic; }
    void SetPlainCursor(bool plain) { m_plainCursor = plain; }
    // The button owns the icon from now on.
    void SetIcon(HICON icon);

private:
    void PaintBackground(HDC dc) override;
    HCURSOR HoverCursor() const override;
    void OnMouseMove() override;
    void OnLeftButtonUp() override;

    bool m_static = false;
    COLORREF m_textColor = 0;
    char m_title[kTitleSize] = "";
    bool m_transparent = true;
    bool m_plainCursor = false;
    HICON m_icon = nullptr;
    HFONT m_font = nullptr;
};
