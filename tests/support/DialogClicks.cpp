#include "support/DialogClicks.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/NoticeReading.h"
#include "support/ProgramDriver.h"

namespace {
// How long a dialog shown a moment ago is given to take the foreground.
const DWORD kForegroundMs = 5000;

// The control clicked once in its middle, then done awaited. A user's click
// comes through X after every notice X sent the dialog's thread before it; a
// click made from here can overtake those not read yet, and a notice that the
// focus moved, read between the press and the release, takes the button's
// hold of the pointer, so that the release clicks nothing. The dialog's
// thread reads them first.
bool ClickOnce(HWND dialog, int id, const std::function<bool()>& done)
{
    HWND control = GetDlgItem(dialog, id);
    RECT shown{};
    if (!control || !WaitUntil([&] { return IsWindowVisible(dialog) && GetWindowRect(control, &shown); }))
        return false;
    WaitUntil([&] { return GetForegroundWindow() == dialog; }, kForegroundMs);
    if (!WindowReadItsNotices(dialog)) {
        ADD_FAILURE() << "the dialog's thread did not read its notices before the click";
        return false;
    }
    ClickAt({(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2});
    return WaitUntil(done);
}
}

void ClickDialogControl(HWND dialog, int id)
{
    EXPECT_TRUE(ClickOnce(dialog, id, [&] { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }))
        << "control " << id << " of the dialog was not chosen";
}

bool ClickDialogButton(HWND dialog, int buttonId)
{
    return ClickOnce(dialog, buttonId, [&] { return !IsWindow(dialog); });
}
