#pragma once

#include <windows.h>

// Renaming an item of a list where it stands: an edit box over the item,
// ended by Enter, Tab or a click elsewhere, cancelled by Escape. A text of two
// characters or more (blanks around it removed) is sent to the window to
// notify, with the list's current selection in wParam and the text in lParam.

// What the owner of an edit hears.
enum InPlaceEditMessage : UINT {
    kMsgStyleRenamed = 0x809A,  // BeginInPlaceEditSecond with its flag set
    kMsgGroupRenamed = 0x809D,  // BeginInPlaceEdit with the mode flag set
    kMsgGroupCreated = 0x809E,  // BeginInPlaceEdit with the mode flag clear
};

// The owner's record of one edit; it must live until the edit has closed.
struct CInPlaceEditOwner {
    HWND list = nullptr;
    HWND notify = nullptr;
    // The item's rectangle in the coordinates of the list's parent.
    RECT itemRect = {};
    // The item's text at the start, the edited text at the end.
    char text[26] = "";
    bool mode = false;
    bool cancelled = false;
    int maxLength = 25;
};

// A child "Edit" window.
class CInPlaceEdit {
public:
    CInPlaceEdit(DWORD style, const RECT& rect, HWND parent, UINT id);
    HWND GetWindow() const { return m_window; }

private:
    HWND m_window;
};

// The id of the edit window.
const UINT kInPlaceEditId = 1010;

// Opens the edit over the item with the owner's text; the edit window, or null
// when it cannot be made. The first form notifies kMsgGroupRenamed (mode
// set) or kMsgGroupCreated (mode clear); the second kMsgStyleRenamed when the mode is set.
HWND BeginInPlaceEdit(CInPlaceEditOwner& owner);
HWND BeginInPlaceEditSecond(CInPlaceEditOwner& owner);
