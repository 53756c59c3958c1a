#pragma once

#include <windows.h>

#include "calendar/controls/DrawnControl.h"

// A drawn text of the calendar: the weekday names, the titles of the second
// to fourth months and "Notes containing: " over the filter. Centred in its
// font and colour over the calendar's background; in the settings preview
// left-aligned, with the mail cursor.
class CDrawnLabel {
public:
    enum { kTextSize = 128 };

    CDrawnLabel() : m_tip(100) {}
    ~CDrawnLabel() { Detach(); }
    CDrawnLabel(const CDrawnLabel&) = delete;
    CDrawnLabel& operator=(const CDrawnLabel&) = delete;

    // Finds the dialog's item ("cannot create the drawnLabel" when it is
    // missing), subclasses it and makes its tooltip control.
    void Attach(HWND parent, int controlId);
    void Detach();

    // The parent's WM_DRAWITEM for the label.
    void Draw(const DRAWITEMSTRUCT& item);
    // Cut to the text's size.
    void SetText(const char* text);
    // Up to 99 characters; an empty text takes the label off its tooltip.
    void SetTooltipText(const char* text);

    void SetFont(HFONT font) { m_font = font; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    void SetTransparent(bool transparent) { m_transparent = transparent; }
    void SetPreview(bool preview) { m_preview = preview; }

    HWND GetWindow() const { return m_window; }
    int GetControlId() const { return m_controlId; }
    const char* GetText() const { return m_text; }
    HFONT GetFont() const { return m_font; }
    const char* GetTooltipText() const { return m_tip.GetText(); }
    bool IsTooltipRegistered() const { return m_tip.IsRegistered(); }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_parent = nullptr;
    HWND m_window = nullptr;
    int m_controlId = 0;
    bool m_preview = false;
    COLORREF m_textColor = 0;
    char m_text[kTextSize] = "";
    WNDPROC m_previous = nullptr;
    bool m_transparent = true;
    HFONT m_font = nullptr;
    CControlTip m_tip;
    bool m_leaveTracking = false;
};
