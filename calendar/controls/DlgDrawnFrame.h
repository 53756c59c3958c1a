#pragma once

#include <windows.h>

// Two statics of the calendar that paint no face of their own.

// A static filled or framed with one colour: the title row of the first month
// and the one-pixel line under each weekday row.
class CDlgDrawnFrame {
public:
    enum Mode : BYTE { kNothing = 0, kFilled = 1, kFramed = 2 };

    CDlgDrawnFrame() = default;
    ~CDlgDrawnFrame() { Detach(); }
    CDlgDrawnFrame(const CDlgDrawnFrame&) = delete;
    CDlgDrawnFrame& operator=(const CDlgDrawnFrame&) = delete;

    // Finds the dialog's item ("cannot create CDlgDrawnFrame button" when it is
    // missing) and subclasses it.
    void Attach(HWND parent, int controlId);
    void Detach();

    void SetColor(COLORREF color) { m_color = color; }
    void SetTransparent(bool transparent) { m_transparent = transparent; }
    void SetMode(Mode mode) { m_mode = mode; }
    HWND GetWindow() const { return m_window; }
    COLORREF GetColor() const { return m_color; }
    Mode GetMode() const { return m_mode; }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint();

    HWND m_parent = nullptr;
    HWND m_window = nullptr;
    int m_controlId = 0;
    COLORREF m_color = 0;
    bool m_transparent = false;
    WNDPROC m_previous = nullptr;
    Mode m_mode = kNothing;
};

// A static of the calendar settings whose whole face its parent paints
// (kMsgPaintStaticFace with the static's rectangles and the paint DC).
class CParentPaintedStatic {
public:
    // Subclasses the dialog's item; nothing when it is missing.
    CParentPaintedStatic(HWND parent, int controlId);
    ~CParentPaintedStatic();
    CParentPaintedStatic(const CParentPaintedStatic&) = delete;
    CParentPaintedStatic& operator=(const CParentPaintedStatic&) = delete;

    HWND GetWindow() const { return m_window; }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_window;
    HWND m_parent;
    WNDPROC m_previous = nullptr;
};
