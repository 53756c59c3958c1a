#include "foundation/win/ColorDialog.h"

#include <commdlg.h>

#include "foundation/CallbackGuard.h"
#include "foundation/win/DeviceContext.h"

namespace {
const COLORREF kNoteTints[8] = {0x9FFFFF, 0x9FFF9F, 0x9F9FFF, 0xFF9F9F, 0x6FFFFF, 0x6FFF6F, 0x6F6FFF, 0xFF6F6F};

UINT_PTR CALLBACK ColorDialogTitleHook(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    return GuardCallback<UINT_PTR>(0, [&]() -> UINT_PTR {
        if (message == WM_INITDIALOG) {
            auto* choose = reinterpret_cast<const CHOOSECOLORA*>(lParam);
            SetWindowTextA(dialog, reinterpret_cast<const char*>(choose->lCustData));
        }
        return 0;
    });
}

DWORD DisplayColorCount()
{
    HDC screen = GetDC(nullptr);
    DWORD count = ColorCountFor(GetDeviceCaps(screen, BITSPIXEL), GetDeviceCaps(screen, PLANES));
    ReleaseDC(nullptr, screen);
    return count;
}
}

void FillCustomColors(COLORREF colors[16], DWORD displayColors)
{
    for (int i = 0; i < 16; ++i)
        colors[i] = 0xFFFFFF;
    if (displayColors > 256)
        for (int i = 0; i < 8; ++i)
            colors[i] = kNoteTints[i];
}

int ChooseColorWithTitle(COLORREF* color, HWND owner, COLORREF initial, const char* title)
{
    static COLORREF custom[16];
    FillCustomColors(custom, DisplayColorCount());
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.rgbResult = initial;
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR;
    choose.lCustData = reinterpret_cast<LPARAM>(title ? title : "");
    choose.lpfnHook = &ColorDialogTitleHook;
    if (!ChooseColorA(&choose))
        return 0;
    *color = choose.rgbResult;
    return 1;
}
