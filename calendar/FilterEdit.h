#pragma once

#include <windows.h>

#include "calendar/controls/DrawnControl.h"

// The edit of the calendar's "Notes containing:" bar, over the dialog's item.
// Enter and Tab hand the focus back to the calendar; Esc does too, and once
// the edit has lost the focus the calendar clears the filter. A click first
// brings the calendar forward.
class CFilterEdit {
public:
    CFilterEdit() : m_tip(kTipSize) {}
    ~CFilterEdit() { Detach(); }
    CFilterEdit(const CFilterEdit&) = delete;
    CFilterEdit& operator=(const CFilterEdit&) = delete;

    void Attach(HWND parent, int controlId);
    void Detach();
    // The tip tells how to filter, or how to drop the filter typed.
    void UpdateTip(bool hasText);

    HWND GetWindow() const { return m_window; }
    const char* GetTooltipText() const { return m_tip.GetText(); }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    enum { kTipSize = 150 };
    HWND m_window = nullptr;
    int m_controlId = 0;
    HWND m_parent = nullptr;
    WNDPROC m_previous = nullptr;
    bool m_escPressed = false;
    bool m_leaveTracking = false;
    CControlTip m_tip;
};
