#pragma once

#include <windows.h>

// Thin wrappers of a dialog's controls, each over one window handle.

class CWindowCtl {
public:
    explicit CWindowCtl(HWND window = nullptr) : m_window(window) {}
    void Attach(HWND window) { m_window = window; }
    HWND GetWindow() const { return m_window; }

    void SetText(const char* text);
    // At most size - 1 characters and the terminator; returns the length.
    int GetText(char* buffer, int size);

protected:
    HWND m_window;
};

class CComboBoxCtl : public CWindowCtl {
public:
    using CWindowCtl::CWindowCtl;
    // Returns the item's index; a refusal throws "Adding item to combobox failed".
    int AddString(const char* text);
    int SetCurSel(int index);
    int GetCurSel();
};

class CButtonCtl : public CWindowCtl {
public:
    using CWindowCtl::CWindowCtl;
    bool IsChecked();
    // Checked only when the flag is exactly 1.
    void SetCheck(int flag);
};

// Radio buttons with consecutive ids in a dialog.
class CRadioGroup {
public:
    CRadioGroup(HWND dialog, int firstId, int lastId) : m_firstId(firstId), m_lastId(lastId), m_dialog(dialog) {}
    // Checks button n of the group, counting from 1.
    void Check(int n);

private:
    int m_firstId;
    int m_lastId;
    HWND m_dialog;
};

class CTrackbarCtl : public CWindowCtl {
public:
    using CWindowCtl::CWindowCtl;
    void SetPos(int position);
};
