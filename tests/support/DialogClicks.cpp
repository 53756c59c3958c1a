#include "support/DialogClicks.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/ExtraTries.h"
#include "support/ProgramDriver.h"

namespace {
// How long a click is given to show its effect before it counts as lost.
const DWORD kClickEffectMs = 5000;
const int kMostClicks = 3;

// The control clicked in its middle, until done holds; the click is made
// again (and told) only while the control is still under the pointer, so
// that a late click's window gone meanwhile never passes it on to another.
bool ClickUntil(HWND dialog, int id, const std::function<bool()>& done, const char* step)
{
    HWND control = GetDlgItem(dialog, id);
    RECT shown{};
    // A dialog shown a moment ago is still taking the foreground.
    if (!control || !WaitUntil([&] { return IsWindowVisible(dialog) && GetWindowRect(control, &shown); }))
        return false;
    WaitUntil([&] { return GetForegroundWindow() == dialog; }, kClickEffectMs);
    const POINT middle{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2};
    for (int click = 1; click <= kMostClicks; ++click) {
        if (click > 1) {
            if (!IsWindow(dialog) || WindowFromPoint(middle) != control)
                break;
            ReportExtraTry(step, click, "the click showed no effect");
        }
        ClickAt(middle);
        if (WaitUntil(done, kClickEffectMs))
            return true;
    }
    return WaitUntil(done);
}
}

void ClickDialogControl(HWND dialog, int id)
{
    EXPECT_TRUE(ClickUntil(
        dialog, id, [&] { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }, "a dialog's choice clicked again"))
        << "control " << id << " of the dialog was not chosen";
}

bool ClickDialogButton(HWND dialog, int buttonId)
{
    return ClickUntil(dialog, buttonId, [&] { return !IsWindow(dialog); }, "a dialog's button clicked again");
}
