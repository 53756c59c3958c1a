#pragma once

#include <windows.h>

// A window timer.
class CTimer {
public:
    void Set(HWND window, UINT_PTR id, UINT period);
    void Kill();
    UINT_PTR GetId() const { return m_id; }
    UINT GetPeriod() const { return m_period; }

private:
    HWND m_window = nullptr;
    UINT_PTR m_id = 0;
    UINT m_period = 0;
    int m_state = 0;
};
