#pragma once

#include <windows.h>

#include "foundation/win/GdiObjects.h"

// A dialog's owner-drawn button that looks and acts like a hyperlink: an
// underlined copy of the dialog's font, the link colour (another while the
// mouse is over it), the hand cursor, and keys that move through the dialog
// like the other controls. The dialog sends it its WM_DRAWITEM.
class CLinkStatic {
public:
    // Subclasses the dialog's control; the previous procedure comes back when
    // the control is destroyed or this object goes, whichever is first.
    CLinkStatic(HWND dialog, int controlId);
    ~CLinkStatic();
    CLinkStatic(const CLinkStatic&) = delete;
    CLinkStatic& operator=(const CLinkStatic&) = delete;

    // The dialog's WM_DRAWITEM for this control.
    void DrawOwnerDrawListItem(const DRAWITEMSTRUCT& item);
    // Ends the hover look, for a dialog that sees the mouse leave the link.
    void EndHover();

    void SetBackgroundColor(COLORREF color) { m_backgroundColor = color; }
    void SetNoFocusRect(bool noFocusRect) { m_noFocusRect = noFocusRect; }
    HWND GetWindow() const { return m_control; }
    int GetControlId() const { return m_controlId; }
    bool IsHovering() const { return m_hovering; }

    static const COLORREF kLinkColor = 0xA00000;
    static const COLORREF kHoverColor = 0x4080FF;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnKey(UINT message, WPARAM key);
    void Unsubclass();

    HWND m_dialog;
    HWND m_control;
    int m_controlId;
    WNDPROC m_previous = nullptr;
    CGdiFont m_font;
    bool m_hovering = false;
    bool m_focused = false;
    bool m_noFocusRect = false;
    COLORREF m_backgroundColor;
    COLORREF m_disabledColor;
    char m_text[260] = "";
};

// The keys by which a subclassed dialog control moves through its dialog:
// WM_NEXTDLGCTL to the previous (or next) control, and IDCANCEL for Escape
// with the window of the dialog's Cancel button.
void PostNextDialogControl(HWND dialog, bool previous);
void PostDialogCancel(HWND dialog);
