#include <windows.h>

#include <gtest/gtest.h>

#include "support/PictureFiles.h"
#include "foundation/win/ScreenCopy.h"

TEST(ScreenCopy, TheWholeScreenLandsOnTheClipboard)
{
    TakeClipboardBitmapSize();
    CopyScreenToClipboard();
    SIZE size = TakeClipboardBitmapSize();
    EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(size.cy, GetSystemMetrics(SM_CYSCREEN));
}
