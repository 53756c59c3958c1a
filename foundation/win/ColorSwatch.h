#pragma once

#include <windows.h>

// A dialog item shown as a framed rectangle of a colour, with the hand cursor
// and a tooltip; the dialog opens the colour dialog when it is clicked.
class CColorSwatch {
public:
    CColorSwatch(HWND dialog, int controlId);
    ~CColorSwatch();
    CColorSwatch(const CColorSwatch&) = delete;
    CColorSwatch& operator=(const CColorSwatch&) = delete;

    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_color; }
    void SetTooltipText(const char* text);
    // Whether tips are shown when the mouse leaves (the user's choice).
    void SetTooltipsOn(bool on) { m_tooltipsOn = on; }
    HWND GetWindow() const { return m_swatch; }
    HWND GetDialog() const { return m_dialog; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND m_dialog;
    HWND m_swatch;
    int m_controlId;
    WNDPROC m_previous = nullptr;
    bool m_hovering = false;
    bool m_tooltipsOn = true;
    COLORREF m_color = 0;
    char m_tooltipText[100] = "";
    HWND m_tooltip = nullptr;
};

// The colour dialog over the swatch's dialog; 1 with the colour, 0 when cancelled.
int ChooseColorForOwner(const CColorSwatch& swatch, COLORREF* color, COLORREF initial, const char* title);
