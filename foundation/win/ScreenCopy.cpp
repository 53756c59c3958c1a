#include "foundation/win/ScreenCopy.h"

#include <windows.h>

#include <string>

#include "foundation/bytes/GenericException.h"
#include "foundation/win/DeviceContext.h"

void CopyScreenToClipboard()
{
    try {
        CScreenCanvas screen;
        RECT whole = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        CMemoryDC copy(screen.GetHandle(), whole);
        if (!copy.GetBitmap() || !BitBlt(copy.GetHandle(), 0, 0, copy.GetWidth(), copy.GetHeight(),
                                         screen.GetHandle(), 0, 0, SRCCOPY))
            throw CGenericException("the screen could not be copied");
        // From here on the clipboard owns the bitmap; the memory DC keeps it.
        if (!copy.CopyBitmapToClipboard())
            throw CGenericException("the clipboard did not take the picture");
    } catch (const CGenericException& failure) {
        throw CGenericException((std::string("CopyScreenToClipboard(): ") + failure.GetErrorText()).c_str());
    }
}
