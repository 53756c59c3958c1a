#pragma once

#include <windows.h>

#include "foundation/win/CoolMenu.h"
#include "globals/NoteStyle.h"

// One of the Appearance page's nine style buttons: an owner-drawn button
// showing a miniature of its style, with a right-click menu to save, reset,
// undo or give a text to the style. The menu's commands go to the dialog as
// WM_COMMAND with the style's index in lParam; the page does the work and
// keeps the button's copies up to date.
class CDlgSchemeButton {
public:
    enum UndoKind : BYTE { kNoUndo = 0, kUndoSave = 1, kUndoReset = 2, kUndoText = 3 };

    CDlgSchemeButton(HWND dialog, int controlId);
    ~CDlgSchemeButton();
    CDlgSchemeButton(const CDlgSchemeButton&) = delete;
    CDlgSchemeButton& operator=(const CDlgSchemeButton&) = delete;

    void SetStyle(const CNoteStyle& style, int index);
    // The current style becomes the one an Undo brings back.
    void SaveForUndo(UndoKind kind);
    // The current style becomes the undo copy, which is forgotten.
    void Undo();
    const CNoteStyle& UndoCopy() const { return m_undo; }
    const CNoteStyle& Current() const { return m_current; }
    UndoKind GetUndoKind() const { return m_undoKind; }
    HWND Window() const { return m_button; }

    void Draw(const DRAWITEMSTRUCT& item) const;
    // "Style N - 'name' (has text)" and how to replace it.
    void UpdateTooltip();

    static LRESULT CALLBACK WndProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowMenu(POINT at);

    CNoteStyle m_current;
    CNoteStyle m_undo;
    int m_index = -1;
    UndoKind m_undoKind = kNoUndo;
    CCoolMenu m_menu;
    bool m_menuRaised = false;  // the open menu was put above the sheet
    HWND m_tooltip = nullptr;
    bool m_toolAdded = false;
    HWND m_dialog;
    int m_id;
    HWND m_button;
    WNDPROC m_oldProc = nullptr;
};
