#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "foundation/win/CoolMenu.h"

// The style and group combo boxes of the settings dialogs: a right click opens
// a context menu (rename a style; create, rename or delete a group, or give it
// a hotkey) whose chosen command goes to the dialog, and a read-only combo only
// takes the focus when clicked.
class CDlgComboBox {
public:
    CDlgComboBox(HWND dialog, int controlId);
    virtual ~CDlgComboBox();
    CDlgComboBox(const CDlgComboBox&) = delete;
    CDlgComboBox& operator=(const CDlgComboBox&) = delete;

    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // The dialog's tooltip control, told of button releases while tips are on.
    void SetTooltip(HWND tooltip, bool on)
    {
        m_tooltip = tooltip;
        m_tooltipsOn = on;
    }
    HWND GetWindow() const { return m_combo; }

    // The context menu as it would be shown now; the caller destroys it.
    HMENU BuildMenu();

protected:
    // Loads the menu and adapts it to the selected entry; null after a box.
    virtual HMENU LoadContextMenu() = 0;
    std::string SelectedText() const;
    int Selection() const;

    HWND m_dialog;
    HWND m_combo;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowMenu(LPARAM position);

    WNDPROC m_previous = nullptr;
    bool m_readOnly = false;
    HWND m_tooltip = nullptr;
    bool m_tooltipsOn = false;
    CCoolMenu m_menu;
    HMENU m_menuHandle = nullptr;
};

// A menu entry with the item's name: base + " '" + name + "'" while that stays
// under 51 characters, else the base alone.
std::string MenuTextWithName(const char* base, const std::string& name);

// Paints the sample of the style at a position of the program's style table
// into the rectangle.
using StyleSamplePainter = std::function<void(HDC dc, const RECT& rect, int styleIndex)>;

class CDlgComboBoxStyle : public CDlgComboBox {
public:
    CDlgComboBoxStyle(HWND dialog, int controlId, StyleSamplePainter painter);
    // The dialog's WM_DRAWITEM for the (owner-drawn) combo's entries.
    void DrawItem(const DRAWITEMSTRUCT& item);

private:
    HMENU LoadContextMenu() override;
    StyleSamplePainter m_painter;
};

// A group's hotkey, when it has one.
struct GroupHotkey {
    bool set = false;
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    UINT key = 0;
};
using GroupHotkeyLookup = std::function<GroupHotkey(int groupIndex)>;

class CDlgComboBoxGroup : public CDlgComboBox {
public:
    CDlgComboBoxGroup(HWND dialog, int controlId, GroupHotkeyLookup hotkeys);
    // The first groups of the list are the program's own.
    static const int kBuiltInGroups = 3;

private:
    HMENU LoadContextMenu() override;
    GroupHotkeyLookup m_hotkeys;
};
