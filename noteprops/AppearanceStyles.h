#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "noteprops/SchemeButton.h"

struct CAppearanceSettings;

// The Appearance page's nine style buttons and what their menus do: a style
// saved from the page (with or without the note's text), reset to its
// standard look, given a text, or one step undone. Every change reaches the
// user's styles and their storage at once, whatever the sheet ends with.
class CAppearanceStyles {
public:
    // copyTitle puts the page's title edit into the record.
    CAppearanceStyles(HWND page, CAppearanceSettings& settings, std::function<void()> copyTitle);

    // The style of a button id, -1 for another control.
    static int StyleOfButton(int controlId);
    bool Draw(const DRAWITEMSTRUCT& item) const;
    // The style into the record; the page then shows the record.
    void LoadStyle(int index);
    // A menu command of a style button; false for another command.
    bool OnCommand(int id, int index);
    void UpdateTooltips();

private:
    void SaveAsStyle(int index, bool withText);
    void EditText(int index);
    void StoreStyle(int index);
    void ShowMark(int index);

    HWND m_page;
    CAppearanceSettings& m_settings;
    std::function<void()> m_copyTitle;
    std::unique_ptr<CDlgSchemeButton> m_buttons[9];
};
