#include "support/ShownTips.h"

#include <commctrl.h>

#include "support/ProgramDriver.h"

std::string TipAfterRestAt(DWORD processId, POINT point, const std::string& expected)
{
    MovePointerTo(point);
    std::string shown;
    WaitUntil([&] {
        for (HWND tip : TopWindowsOf(processId, TOOLTIPS_CLASSA))
            if (IsWindowVisible(tip) && (shown = ReadWindowText(tip)) == expected)
                return true;
        return false;
    });
    return shown;
}
