// Owner-drawn menus on a real window: how items are built, measured, drawn in
// both looks, and where a chosen command goes.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/CoolMenu.h"
#include "foundation/win/DeviceContext.h"

namespace {
std::vector<UINT> g_menuCommands;
CCoolMenu* g_shown = nullptr;

LRESULT CALLBACK Owner(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        g_menuCommands.push_back(LOWORD(wParam));
    if (message == WM_MEASUREITEM && g_shown) {
        g_shown->MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    }
    if (message == WM_DRAWITEM && g_shown) {
        g_shown->DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The menu window of a popup that is open: keys go there to choose an item.
struct MenuChooser {
    static int s_downPresses;
    static void CALLBACK Choose(HWND, UINT, UINT_PTR timer, DWORD)
    {
        HWND menu = FindWindowA("#32768", nullptr);
        if (!menu || !IsWindowVisible(menu))
            return;
        KillTimer(nullptr, timer);
        for (int i = 0; i < s_downPresses; ++i)
            PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }
};
int MenuChooser::s_downPresses = 0;

class CoolMenus : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &Owner;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CoolMenuOwner";
        RegisterClassA(&windowClass);
        owner = CreateWindowExA(0, "CoolMenuOwner", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 50, 50, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
        GetCoolMenuLook() = CoolMenuLook();
        GetCoolMenuLook().normalFont = font;
        GetCoolMenuLook().boldFont = font;
        menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 4012, "&New note");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        HMENU submenu = CreatePopupMenu();
        AppendMenuA(submenu, MF_STRING, 4027, "All notes");
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), "Show notes");
        AppendMenuA(menu, MF_STRING, 4007, "E&xit Quillnet+");
        cool.Attach(GetModuleHandleA(nullptr), menu, nullptr);
        cool.SetSize(GetMenuItemCount(menu));
        cool.InitMenuStructures(0, "&New note\tCtrl+Alt+N", 4012, -1, -1, 0, kNoRecolour, true);
        cool.InitMenuStructures(1, "", kMakeSeparatorId, 1, -1, 0, kNoRecolour, false);
        cool.InitMenuStructures(2, "Show notes", kFirstPopupId + 2, -1, -1, 0, kNoRecolour, false);
        cool.InitMenuStructures(3, "E&xit Quillnet+", 4007, -1, -1, 0, kNoRecolour, false);
    }
    void TearDown() override
    {
        cool.Detach();
        DestroyMenu(menu);
        DestroyWindow(owner);
        DeleteObject(font);
        GetCoolMenuLook() = CoolMenuLook();
        g_menuCommands.clear();
    }

    UINT ChooseItem(int downPresses)
    {
        MenuChooser::s_downPresses = downPresses;
        SetForegroundWindow(owner);
        SetTimer(nullptr, 0, 50, &MenuChooser::Choose);
        g_shown = &cool;
        UINT chosen = cool.TrackPopup(TPM_RETURNCMD, 120, 120, owner);
        g_shown = nullptr;
        return chosen;
    }

    MEASUREITEMSTRUCT Measure(int index)
    {
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemData = reinterpret_cast<ULONG_PTR>(cool.GetItem(index));
        cool.MeasureItem(&measure);
        return measure;
    }

    HWND owner = nullptr;
    HFONT font = nullptr;
    HMENU menu = nullptr;
    CCoolMenu cool;
};

SIZE TextSize(HFONT font, const char* text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
}
}

TEST_F(CoolMenus, ItemsAreBuiltOwnerDrawnWithTheirShortcutsAndPopups)
{
    EXPECT_STREQ(cool.GetItem(0)->text, "&New note");
    EXPECT_STREQ(cool.GetItem(0)->shortcut, "Ctrl+Alt+N");
    EXPECT_STREQ(cool.GetItem(3)->shortcut, "");
    EXPECT_STREQ(cool.GetItem(1)->text, kSeparatorText);
    EXPECT_EQ(cool.GetItem(1)->id, kSeparatorItemId);

    for (UINT position = 0; position < 4; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
        ASSERT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << position;
        EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(cool.GetItem(static_cast<int>(position))));
        EXPECT_EQ(info.hSubMenu != nullptr, position == 2) << position;
    }

    MEASUREITEMSTRUCT separator = Measure(1);
    EXPECT_EQ(separator.itemWidth, 100u);
    EXPECT_EQ(separator.itemHeight, 10u);

    // A 16-pixel font makes 19-pixel items; the width holds the widest text
    // and the widest shortcut seen so far, plus 30.
    MEASUREITEMSTRUCT first = Measure(0);
    EXPECT_EQ(first.itemHeight, 19u);
    SIZE newNote = TextSize(font, "&New note");
    SIZE shortcut = TextSize(font, "Ctrl+Alt+N");
    SIZE exitText = TextSize(font, "E&xit Quillnet+");
    EXPECT_EQ(first.itemWidth, static_cast<UINT>(newNote.cx + shortcut.cx + 30));
    MEASUREITEMSTRUCT last = Measure(3);
    EXPECT_EQ(last.itemWidth, static_cast<UINT>(std::max(newNote.cx, exitText.cx) + shortcut.cx + 30));
    EXPECT_EQ(cool.GetItem(3)->textOffset, 1);
}

TEST_F(CoolMenus, TheExitCommandComesBackAndOthersGoToTheOwner)
{
    EXPECT_EQ(ChooseItem(1), 0u);
    ASSERT_EQ(g_menuCommands.size(), 1u);
    EXPECT_EQ(g_menuCommands[0], 4012u);
    EXPECT_FALSE(cool.IsTracking());

    g_menuCommands.clear();
    EXPECT_EQ(ChooseItem(3), 4007u);
    EXPECT_TRUE(g_menuCommands.empty());
}

TEST_F(CoolMenus, TheImageColumnAndTheSelectionFollowTheLook)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    Measure(0);

    auto drawFirst = [&](UINT state) {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemState = state;
        draw.hDC = dc;
        draw.rcItem = {0, 10, 200, 29};
        draw.itemData = reinterpret_cast<ULONG_PTR>(cool.GetItem(0));
        cool.DrawItem(&draw);
    };
    drawFirst(0);
    EXPECT_EQ(GetPixel(dc, 3, 20), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(dc, 195, 12), GetSysColor(COLOR_MENU));
    drawFirst(ODS_SELECTED);
    EXPECT_EQ(GetPixel(dc, 195, 12), GetSysColor(COLOR_HIGHLIGHT));

    // The XP look: without GradientFill, a plain band in the border colour.
    GradientFillFunction gradient = GetGradientFillFunction();
    SetGradientFillFunction(nullptr);
    GetCoolMenuLook().menuLook = 2;
    drawFirst(0);
    EXPECT_EQ(GetPixel(dc, 3, 20), GetSysColor(COLOR_ACTIVEBORDER));
    EXPECT_EQ(GetPixel(dc, 195, 12), static_cast<COLORREF>(0xF7F8F9));
    GetCoolMenuLook().xpScheme = 1;
    drawFirst(ODS_SELECTED);
    EXPECT_EQ(GetPixel(dc, 195, 15), static_cast<COLORREF>(0xC7E8FE));
    SetGradientFillFunction(gradient);

    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
