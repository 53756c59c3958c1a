#pragma once

#include <windows.h>

#include "foundation/win/CoolMenu.h"
#include "foundation/win/DeviceContext.h"
#include "globals/CalendarStyle.h"

// One of the nine "Calendar styles" buttons of the calendar settings dialog:
// a thumbnail of its style; a right click opens the menu that saves the
// present appearance as the style, resets it to the standard style or undoes
// the last of these two. The dialog carries the commands out (WM_COMMAND with
// the style index as lParam).
class CDlgCalendarStyleButton {
public:
    enum UndoState : BYTE { kNothingToUndo = 0, kUndoSave = 1, kUndoReset = 2 };

    CDlgCalendarStyleButton() = default;
    ~CDlgCalendarStyleButton() { Detach(); }
    CDlgCalendarStyleButton(const CDlgCalendarStyleButton&) = delete;
    CDlgCalendarStyleButton& operator=(const CDlgCalendarStyleButton&) = delete;

    // Subclasses the dialog's button and makes it 24 x 24 pixels.
    void Attach(HWND dialog, int controlId);
    void Detach();

    // The style shown and its index; the button is repainted.
    void Show(const CCalendarStyle& style, int index);
    // The tip "Style N" with the way to replace it, registered the first time.
    void UpdateTooltip();
    // Relays the cursor to the tip, so that a shown tip is renewed.
    void RelayTooltip() const;
    // Save and reset keep the shown style for undo; undo takes it back.
    void KeepForUndo(UndoState state);
    void TakeBackUndo();

    HWND GetWindow() const { return m_button; }
    int GetIndex() const { return m_index; }
    UndoState GetUndoState() const { return m_undoState; }
    const CCalendarStyle& GetShownStyle() const { return m_shown; }
    const CCalendarStyle& GetUndoStyle() const { return m_undo; }
    HDC GetBody() const { return m_body.GetHandle(); }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void ShowMenu(POINT clientPoint);

    WNDPROC m_previous = nullptr;
    CCalendarStyle m_shown;
    CMemoryDC m_body;
    int m_index = -1;
    CCalendarStyle m_undo;
    UndoState m_undoState = kNothingToUndo;
    CCoolMenu m_menu;
    HWND m_tooltip = nullptr;
    bool m_tipAdded = false;
    bool m_leaveTracking = false;
    HWND m_button = nullptr;
    int m_controlId = 0;
    HWND m_dialog = nullptr;
};

class CLoadedBitmap;

// The style's thumbnail in the button's rectangle: caption strip, the body
// made by RenderStyleBody, grid and border, pressed or raised.
void PaintCalendarStyleButton(HDC dc, const RECT& rect, bool pressed, const CCalendarStyle& style, HDC body);
// The thumbnail's body: the style's texture when its file is there, else its
// gradient or colour. Made when the button takes a style, so that painting
// never reads a file.
void RenderStyleBody(CMemoryDC& body, HDC reference, const CCalendarStyle& style);
// The picture of TEXTURES with the name; false when there is none or it
// cannot be read.
bool LoadCalendarTexture(CLoadedBitmap& picture, const char* name);

// Whether two styles look and behave alike: the appearance settings, both
// fonts, and the texture's name regardless of case.
bool IsSameCalendarStyle(const CCalendarStyle& a, const CCalendarStyle& b);
