#include "support/FontDialogDriving.h"

#include <dlgs.h>

#include <string>

#include <gtest/gtest.h>

#include "support/KeyPresses.h"
#include "support/NoticeReading.h"
#include "support/ProgramDriver.h"

namespace {
// The middle of a window on the screen, where a click meets it.
POINT MiddleOfFontControl(HWND window)
{
    RECT place{};
    GetWindowRect(window, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

// A click on the control once the dialog's thread has read what X told it,
// as it has by the time a user's click comes; true once the control (or a
// window of its own) has the keyboard's focus.
bool ClickToFocus(HWND dialog, HWND control)
{
    if (!control || !WindowReadItsNotices(dialog))
        return false;
    ClickAt(MiddleOfFontControl(control));
    return WaitUntil([&] {
        HWND focus = FocusedWindowOf(dialog);
        return focus == control || (focus && GetParent(focus) == control);
    });
}

// The text of a field with an edit (the face or the size) replaced by typing.
bool TypeIntoField(HWND dialog, int id, const char* text)
{
    HWND edit = FindWindowExA(GetDlgItem(dialog, id), nullptr, "Edit", nullptr);
    if (!ClickToFocus(dialog, edit)) {
        ADD_FAILURE() << "the font dialog's field " << id << " did not take the focus";
        return false;
    }
    PressKeys({VK_END});
    PressKeys({VK_SHIFT, VK_HOME});
    TypeOnTheKeyboard(text);
    if (!WaitUntil([&] { return ReadWindowText(edit) == text; })) {
        ADD_FAILURE() << "the font dialog's field " << id << " shows \"" << ReadWindowText(edit) << "\"";
        return false;
    }
    return true;
}

// The colour list: clicked, the letter pressed picks the colour, and a list
// that the click dropped is closed again with F4, which keeps it. The list
// keeps each entry's colour beside its name.
bool PickColour(HWND dialog, char key, COLORREF colour)
{
    HWND colours = GetDlgItem(dialog, cmb4);
    if (!ClickToFocus(dialog, colours)) {
        ADD_FAILURE() << "the font dialog's colour list did not take the focus";
        return false;
    }
    PressKeys({static_cast<BYTE>(key)});
    LRESULT shown = CB_ERR;
    const bool picked = WaitUntil([&] {
        LRESULT entry = CB_ERR;
        return SendWithTimeout(colours, CB_GETCURSEL, 0, 0, &entry) && entry != CB_ERR &&
               SendWithTimeout(colours, CB_GETITEMDATA, static_cast<WPARAM>(entry), 0, &shown) &&
               static_cast<COLORREF>(shown) == colour;
    });
    if (!picked) {
        ADD_FAILURE() << "the colour list shows the colour " << std::hex << shown;
        return false;
    }
    LRESULT dropped = 0;
    if (SendWithTimeout(colours, CB_GETDROPPEDSTATE, 0, 0, &dropped) && dropped)
        PressKeys({VK_F4});
    return WaitUntil([&] { return SendWithTimeout(colours, CB_GETDROPPEDSTATE, 0, 0, &dropped) && !dropped; });
}
}

bool AnswerFontDialog(DWORD process, const char* title, const FontChoice& choice)
{
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", title, process)) && IsWindowVisible(dialog); }))
        return false;
    WaitUntil([&] { return GetForegroundWindow() == dialog; });
    if ((choice.face && !TypeIntoField(dialog, cmb1, choice.face)) ||
        (choice.size && !TypeIntoField(dialog, cmb3, choice.size)) ||
        (choice.colourKey && !PickColour(dialog, choice.colourKey, choice.colour)))
        return false;
    HWND ok = GetDlgItem(dialog, IDOK);
    if (!ok || !WindowReadItsNotices(dialog))
        return false;
    ClickAt(MiddleOfFontControl(ok));
    return WaitUntil([&] { return !IsWindow(dialog); });
}
