#pragma once

#include <windows.h>

#include "calendar/controls/DrawnControl.h"

// What the calendar's arrow buttons and its month-title button share: focus
// and hover marks, the keys that move through the dialog, the mouse messages
// their parent hears of, and a tooltip of their own.
class CDrawnPushButton {
public:
    CDrawnPushButton(const CDrawnPushButton&) = delete;
    CDrawnPushButton& operator=(const CDrawnPushButton&) = delete;

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND GetWindow() const { return m_window; }
    int GetControlId() const { return m_controlId; }
    bool IsHovering() const { return m_hover; }
    bool HasFocus() const { return m_hasFocus; }
    const char* GetTooltipText() const { return m_tip.GetText(); }
    void SetNoFocusRect(bool noFocusRect) { m_noFocusRect = noFocusRect; }

protected:
    CDrawnPushButton() : m_tip(100) {}
    virtual ~CDrawnPushButton();

    // Finds the dialog's item (the text is shown when it is missing),
    // subclasses it and makes the tooltip control.
    void Attach(HWND parent, int controlId, const char* missingText);
    // The tooltip first (it has subclassed the item after us), then the item's
    // own procedure.
    void Detach();

    virtual void PaintBackground(HDC dc) = 0;
    virtual HCURSOR HoverCursor() const = 0;
    virtual void OnEnterKey() {}
    virtual void OnMouseMove() {}
    virtual void OnLeftButtonUp() {}

    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
    // Focus rectangle and raised edge over the painted face.
    void DrawMarks(HDC dc, RECT rect, UINT itemState, bool focusAllowed, bool edgeAllowed) const;

    HWND m_parent = nullptr;
    HWND m_window = nullptr;
    int m_controlId = 0;
    WNDPROC m_previous = nullptr;
    bool m_hasFocus = false;
    bool m_noFocusRect = false;
    bool m_hover = false;
    CControlTip m_tip;

private:
    bool OnKeyDown(WPARAM key, LPARAM lParam, LRESULT* result);
    bool OnChar(WPARAM key, LPARAM lParam, LRESULT* result);
};
