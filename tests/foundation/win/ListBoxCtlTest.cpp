#include <windows.h>

#include <gtest/gtest.h>

#include "foundation/win/ListBoxCtl.h"

TEST(ListBoxCtl, AddsInsertsAndAppendsWhereAsked)
{
    HWND box = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_EXTENDEDSEL, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(box, nullptr);
    CListBoxCtl list(box);
    EXPECT_EQ(list.AddString("middle"), 0);
    EXPECT_EQ(list.InsertString("first"), 0);
    EXPECT_EQ(list.AppendString("last"), 2);
    char text[16];
    SendMessageA(box, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "last");

    list.Select(0);
    list.Select(2);
    int selected[1] = {-1};
    EXPECT_EQ(list.GetSelCount(), 2);
    EXPECT_EQ(list.GetSelItems(selected, 1), 1) << "never more than the caller's room";
    EXPECT_EQ(selected[0], 0);
    DestroyWindow(box);
}
