#pragma once

#include <windows.h>

#include <functional>

// How the calendar's month titles and labels draw their text: the background
// (the parent's, or the button face), then the text in a copy of the font,
// centred, or left-aligned for a plain title or a preview label, where texts
// of 22 points and more end in an ellipsis when they do not fit.
struct DrawnTextLook {
    HWND control;
    HWND parent;
    bool transparent;
    HFONT font;  // null: the control's own font
    COLORREF color;
    const char* text;
    bool leftAligned;
};

// Paints the item through a memory DC; the decoration (focus or hover marks)
// is drawn over the text before the copy to the item's DC. An item of no area
// paints nothing.
void PaintDrawnText(const DRAWITEMSTRUCT& item, const DrawnTextLook& look,
                    const std::function<void(HDC, const RECT&)>& decorate = nullptr);
