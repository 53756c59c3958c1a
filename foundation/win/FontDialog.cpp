#include "foundation/win/FontDialog.h"

#include <commdlg.h>

#include "foundation/CallbackGuard.h"
#include "foundation/win/GdiObjects.h"

namespace {
UINT_PTR CALLBACK FontDialogTitleHook(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    return GuardCallback<UINT_PTR>(0, [&]() -> UINT_PTR {
        if (message == WM_INITDIALOG) {
            const CHOOSEFONTA* choice = reinterpret_cast<const CHOOSEFONTA*>(lParam);
            const char* title = reinterpret_cast<const char*>(choice->lCustData);
            if (title && *title)
                SetWindowTextA(dialog, title);
        }
        return 0;
    });
}
}

bool ChooseFontWithTitle(LOGFONTA* fontOut, COLORREF* colorOut, HWND owner, const LOGFONTA& font, COLORREF color,
                         const char* title)
{
    LOGFONTA chosen;
    CopyLogFont(&chosen, font);
    CHOOSEFONTA choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.lpLogFont = &chosen;
    choice.Flags = CF_SCREENFONTS | CF_ENABLEHOOK | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    choice.rgbColors = color;
    choice.lCustData = reinterpret_cast<LPARAM>(title);
    choice.lpfnHook = FontDialogTitleHook;
    if (!ChooseFontA(&choice))
        return false;
    CopyLogFont(fontOut, chosen);
    *colorOut = choice.rgbColors;
    return true;
}
