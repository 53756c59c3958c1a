#pragma once

// One action of the hotkey lists: an id, its name and key text, and the hotkey.
struct CHotkeyAction {
    CHotkeyAction() { Reset(); }
    CHotkeyAction(const CHotkeyAction& other);
    CHotkeyAction& operator=(const CHotkeyAction& other);

    // The default record: id -1, empty texts, Alt+Shift+G, not enabled.
    void Reset();
    // Orders the hotkey lists by the sort mode below.
    bool IsGreater(const CHotkeyAction& other) const;

    int m_id;
    char m_name[51];
    char m_keyText[2];
    int m_enabled;
    int m_ctrl;
    int m_alt;
    int m_shift;
    int m_virtualKey;
};

// 1: by id; 2: by key text, then name, ignoring case; otherwise no order.
extern unsigned char HotkeySortMode;

// A hotkey action with two more texts.
struct CHotkeyActionEx : CHotkeyAction {
    CHotkeyActionEx(const CHotkeyAction& action, const char* text1, const char* text2);
    char m_text1[50];
    char m_text2[50];
};
