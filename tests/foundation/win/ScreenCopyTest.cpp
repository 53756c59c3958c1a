#include <windows.h>

#include <gtest/gtest.h>

#include "foundation/win/ScreenCopy.h"

TEST(ScreenCopy, TheWholeScreenLandsOnTheClipboard)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();

    CopyScreenToClipboard();
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    ASSERT_TRUE(OpenClipboard(nullptr));
    BITMAP header = {};
    GetObjectA(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), sizeof header, &header);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(header.bmWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(header.bmHeight, GetSystemMetrics(SM_CYSCREEN));
}
