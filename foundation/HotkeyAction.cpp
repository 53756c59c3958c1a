#include "foundation/HotkeyAction.h"

#include <windows.h>

#include <cstdio>

unsigned char HotkeySortMode = 0;

CHotkeyAction::CHotkeyAction(const CHotkeyAction& other)
{
    *this = other;
}

CHotkeyAction& CHotkeyAction::operator=(const CHotkeyAction& other)
{
    if (this == &other)
        return *this;
    m_id = other.m_id;
    std::snprintf(m_name, sizeof m_name, "%s", other.m_name);
    std::snprintf(m_keyText, sizeof m_keyText, "%s", other.m_keyText);
    m_enabled = other.m_enabled;
    m_ctrl = other.m_ctrl;
    m_alt = other.m_alt;
    m_shift = other.m_shift;
    m_virtualKey = other.m_virtualKey;
    return *this;
}

void CHotkeyAction::Reset()
{
    m_id = -1;
    m_name[0] = 0;
    m_keyText[0] = 0;
    m_enabled = 0;
    m_ctrl = 0;
    m_alt = 1;
    m_shift = 1;
    m_virtualKey = 71;
}

bool CHotkeyAction::IsGreater(const CHotkeyAction& other) const
{
    switch (HotkeySortMode) {
    case 1:
        return m_id > other.m_id;
    case 2: {
        int byKey = lstrcmpiA(m_keyText, other.m_keyText);
        if (byKey != 0)
            return byKey > 0;
        return lstrcmpiA(m_name, other.m_name) > 0;
    }
    default:
        return false;
    }
}

CHotkeyActionEx::CHotkeyActionEx(const CHotkeyAction& action, const char* text1, const char* text2)
    : CHotkeyAction(action)
{
    std::snprintf(m_text1, sizeof m_text1, "%s", text1 ? text1 : "");
    std::snprintf(m_text2, sizeof m_text2, "%s", text2 ? text2 : "");
}
