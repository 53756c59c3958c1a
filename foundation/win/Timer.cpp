#include "foundation/win/Timer.h"

void CTimer::Set(HWND window, UINT_PTR id, UINT period)
{
    m_window = window;
    m_id = id;
    m_period = period;
    m_state = 0;
    SetTimer(window, id, period, nullptr);
}

void CTimer::Kill()
{
    if (m_id == 0)
        return;
    KillTimer(m_window, m_id);
    m_id = 0;
    m_period = 0;
    m_state = 0;
}
