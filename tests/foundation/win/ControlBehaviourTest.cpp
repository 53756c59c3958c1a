// The controls the program's dialogs are made of, in real windows: tooltips
// and what their failures leave in "error.txt", the in-place rename edit and
// what it tells its owner, rich text streamed out whole or refused, and the
// embossed look of a disabled picture.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/win/ColorDialog.h"
#include "foundation/win/DlgComboBoxes.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/DlgRichEdit.h"
#include "foundation/win/HoverButton.h"
#include "foundation/win/EmbossedBitmap.h"
#include "foundation/win/InPlaceEdit.h"
#include "foundation/win/LinkStatic.h"
#include "foundation/win/RichTextStream.h"
#include "foundation/win/Tooltips.h"
#include "support/InFolder.h"
#include "support/ProgramDriver.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
struct Notification {
    UINT message;
    WPARAM selection;
    std::string text;
};
std::vector<Notification> g_notifications;
std::vector<WPARAM> g_commands;
// What the owner paints under a hover button that lets it.
const COLORREF kOwnerBackground = RGB(200, 30, 30);
int g_backgroundRequests = 0;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kMsgStyleRenamed || message == kMsgGroupCreated || message == kMsgGroupRenamed) {
        g_notifications.push_back({message, wParam, reinterpret_cast<const char*>(lParam)});
        return 0;
    }
    if (message == WM_COMMAND) {
        g_commands.push_back(wParam);
        return 0;
    }
    if (message == kMsgPaintButtonBackground) {
        ++g_backgroundRequests;
        auto* background = reinterpret_cast<const HoverButtonBackground*>(lParam);
        HBRUSH brush = CreateSolidBrush(kOwnerBackground);
        FillRect(background->dc, &background->client, brush);
        DeleteObject(brush);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class ControlBehaviour : public InFolder {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &OwnerProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QnControlsTestOwner";
        RegisterClassA(&windowClass);
        owner = CreateWindowExA(0, "QnControlsTestOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400,
                                300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        list = CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 10, 10, 200, 120, owner, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        for (const char* item : {"Family", "Work", "Ideas"})
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        g_notifications.clear();
        SetForegroundWindow(owner);
    }
    void TearDown() override { DestroyWindow(owner); }

    void Pump()
    {
        MSG message;
        for (int i = 0; i < 200 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    // Renames the selected item to the typed text; the edit ends as a click
    // elsewhere ends it, or by the key.
    void Rename(CInPlaceEditOwner& record, bool second, const char* typed, WPARAM endKey = 0)
    {
        record.list = list;
        record.notify = owner;
        record.itemRect = RECT{10, 26, 210, 42};
        std::snprintf(record.text, sizeof record.text, "%s", "Work");
        HWND edit = second ? BeginInPlaceEditSecond(record) : BeginInPlaceEdit(record);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(GetDlgCtrlID(edit), static_cast<int>(kInPlaceEditId));
        char shown[32] = "";
        GetWindowTextA(edit, shown, sizeof shown);
        EXPECT_STREQ(shown, "Work");
        SetWindowTextA(edit, typed);
        SendMessageA(edit, WM_GETDLGCODE, 0, 0);
        if (endKey)
            SendMessageA(edit, WM_KEYDOWN, endKey, 0);
        else
            SetFocus(list);
        Pump();
        EXPECT_FALSE(IsWindow(edit));
    }

    HWND owner = nullptr;
    HWND list = nullptr;
    MessageBoxRecorder boxes;
};
}

TEST_F(ControlBehaviour, TooltipsRegisterToolsAndReportWhatCouldNotBeAdded)
{
    HWND tooltip = CreateTooltipControl(owner);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(AddTooltipSubclass(tooltip, "The list of groups", owner, list), 1);
    EXPECT_EQ(AddTooltipWindow(tooltip, "The owner", owner), 1);
    EXPECT_EQ(AddTooltipRect(tooltip, "A corner", owner, 7, RECT{300, 0, 380, 40}, false), 1);
    EXPECT_EQ(AddTooltipRectCallback(tooltip, owner, 8, RECT{300, 50, 380, 90}), 1);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 4);
    UpdateTooltipSubclassText(tooltip, "Groups, renamed", owner, list);
    char text[80] = "";
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V3_SIZE;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Groups, renamed");
    RemoveTooltipSubclass(tooltip, owner, list);
    RemoveTooltip(tooltip, owner, 7);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_EQ(boxes.Count(), 0u);

    // Without a control nothing can be added: the box and the log say which.
    EXPECT_EQ(AddTooltipSubclass(nullptr, "Tip of the list", owner, list), 0);
    EXPECT_EQ(AddTooltipWindow(nullptr, "Tip of the owner", owner), 0);
    EXPECT_EQ(AddTooltipWindowCallback(nullptr, owner), 0);
    EXPECT_EQ(Read("error.txt"), "\r\nAddTooltipSubclass failed\r\n Tip of the list\r\n"
                                 "\r\nAddTooltipWindow failed Tip of the owner\r\n"
                                 "\r\nAddTooltipWindowCallback failed \r\n");
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.Boxes()[0].text, "AddTooltipSubclass failed");
    EXPECT_EQ(boxes.Boxes()[2].text, "AddTooltipWindowCallback failed");
    // A rectangle tool without a control or owner is refused quietly.
    EXPECT_EQ(AddTooltipRect(nullptr, "x", owner, 1, RECT{0, 0, 1, 1}, true), 0);
    EXPECT_EQ(AddTooltipRectCallback(tooltip, nullptr, 1, RECT{0, 0, 1, 1}), 0);
    EXPECT_EQ(boxes.Count(), 3u);

    DestroyWindow(tooltip);
    RelayMouseToTooltip(tooltip);
}

TEST_F(ControlBehaviour, TheInPlaceEditTellsItsOwnerOnlyOfRealNames)
{
    CInPlaceEditOwner record;
    record.mode = true;
    Rename(record, false, "  Holidays  ");
    record.mode = false;
    Rename(record, false, "Hobbies", VK_RETURN);
    Rename(record, false, " X ");
    Rename(record, false, "Cancelled", VK_ESCAPE);
    record.mode = true;
    Rename(record, true, "Bright", VK_TAB);
    record.mode = false;
    Rename(record, true, "Never told");
    ASSERT_EQ(g_notifications.size(), 3u);
    EXPECT_EQ(g_notifications[0].message, static_cast<UINT>(kMsgGroupRenamed));
    EXPECT_EQ(g_notifications[0].text, "Holidays");
    EXPECT_EQ(g_notifications[0].selection, 1u);
    EXPECT_EQ(g_notifications[1].message, static_cast<UINT>(kMsgGroupCreated));
    EXPECT_EQ(g_notifications[1].text, "Hobbies");
    // A rename is 0x809D, a new name 0x809E: the numbers the Note Manager handles.
    EXPECT_EQ(g_notifications[0].message, 0x809Du);
    EXPECT_EQ(g_notifications[1].message, 0x809Eu);
    EXPECT_EQ(g_notifications[2].message, static_cast<UINT>(kMsgStyleRenamed));
    EXPECT_EQ(g_notifications[2].text, "Bright");
    // The owner's record keeps the edited text, trimmed and within its size.
    EXPECT_STREQ(record.text, "Never told");
}

TEST_F(ControlBehaviour, RichTextStreamsOutWholeOrIsRefused)
{
    LoadLibraryA("RICHED20.DLL");
    HWND rich = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 220, 10, 150, 200, owner,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(rich, nullptr);
    // Far more than one piece of the control's stream.
    std::string text;
    for (int line = 0; line < 2000; ++line)
        text += "Line " + std::to_string(line) + " of a long note\r\n";
    SetWindowTextA(rich, text.c_str());

    DWORD size = GetRTFSize(rich);
    std::string rtf = GetRTFText(rich);
    ASSERT_GT(size, text.size());
    EXPECT_EQ(rtf.size(), size);
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(rtf.find("Line 1999 of a long note"), std::string::npos);

    std::vector<char> buffer(size + 16, '#');
    EXPECT_EQ(GetRTFText(rich, buffer.data(), size), size);
    EXPECT_EQ(std::string(buffer.data(), size), rtf);
    EXPECT_EQ(std::string(buffer.data() + size, 16), std::string(16, '#'));

    // One byte short: refused, and not a byte written past the buffer.
    std::vector<char> small(size + 15, '#');
    EXPECT_EQ(GetRTFText(rich, small.data(), size - 1), 0u);
    EXPECT_EQ(std::string(small.data() + size - 1, 16), std::string(16, '#'));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.LastText(), "An error occurred in the function  GetRTFText");
    DestroyWindow(rich);
}

TEST_F(ControlBehaviour, AnEmbossedPictureShowsItsDarkPartsInTheShadowColour)
{
    HDC screen = GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ previousPicture = SelectObject(source, picture);
    RECT all = {0, 0, 16, 16};
    FillRect(source, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT dark = {4, 4, 8, 8};
    FillRect(source, &dark, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(source, previousPicture);

    HDC target = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ previousCanvas = SelectObject(target, canvas);
    DrawEmbossedBitmap(target, 8, 8, 16, 16, picture, 0, 0);
    // Dark parts in the shadow colour, their highlight one pixel right and
    // down, light parts in the button face; nothing outside the rectangle.
    EXPECT_EQ(GetPixel(target, 8 + 4, 8 + 4), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(target, 8 + 8, 8 + 8), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(target, 8 + 12, 8 + 2), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(target, 2, 2), RGB(0, 0, 0));
    SelectObject(target, previousCanvas);
    DeleteObject(canvas);
    DeleteObject(picture);
    DeleteDC(target);
    DeleteDC(source);
    ReleaseDC(nullptr, screen);
}

TEST_F(ControlBehaviour, TheComboMenusNameTheEntryAndSpareTheProgramsOwn)
{
    const int kComboId = 1450;
    HWND combo = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 220, 10, 150, 200, owner,
                                 reinterpret_cast<HMENU>(kComboId), GetModuleHandleA(nullptr), nullptr);
    for (const char* entry : {"Standard", "Work", "Family", "A name long enough to overflow the menu entry"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    auto texts = [](HMENU menu) {
        std::vector<std::string> entries;
        HMENU popup = GetSubMenu(menu, 0);
        for (int item = 0; item < GetMenuItemCount(popup); ++item) {
            char text[128] = "";
            GetMenuStringA(popup, static_cast<UINT>(item), text, sizeof text, MF_BYPOSITION);
            bool grayed = (GetMenuState(popup, static_cast<UINT>(item), MF_BYPOSITION) & MF_GRAYED) != 0;
            entries.push_back(std::string(grayed ? "-" : "") + text);
        }
        DestroyMenu(menu);
        return entries;
    };
    {
        CDlgComboBoxStyle styles(owner, kComboId, nullptr);
        SendMessageA(combo, CB_SETCURSEL, 0, 0);
        EXPECT_EQ(texts(styles.BuildMenu()), (std::vector<std::string>{"-Rename style 'Standard'", "-", "Cancel"}));
        SendMessageA(combo, CB_SETCURSEL, 1, 0);
        EXPECT_EQ(texts(styles.BuildMenu())[0], "Rename style 'Work'");
        SendMessageA(combo, CB_SETCURSEL, 3, 0);
        EXPECT_EQ(texts(styles.BuildMenu())[0], "Rename style");
    }
    CDlgComboBoxGroup groups(owner, kComboId, [](int index) {
        GroupHotkey hotkey;
        hotkey.set = index == 3;
        hotkey.ctrl = true;
        hotkey.key = VK_F5;
        return hotkey;
    });
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    EXPECT_EQ(texts(groups.BuildMenu()),
              (std::vector<std::string>{"&Create new group", "-&Rename group 'Family'", "-&Delete group 'Family'",
                                        "-&Set system-wide hotkey...", "-", "Cancel"}));
    SendMessageA(combo, CB_SETCURSEL, 3, 0);
    std::vector<std::string> own = texts(groups.BuildMenu());
    ASSERT_EQ(own.size(), 6u);
    EXPECT_EQ(own[1], "&Rename group");
    EXPECT_EQ(own[3].rfind("&Set system-wide hotkey (", 0), 0u) << own[3];
    EXPECT_NE(own[3].find("Ctrl+"), std::string::npos) << own[3];
    EXPECT_EQ(own[3].substr(own[3].size() - 4), ")...");
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(ControlBehaviour, AHoverButtonShowsItsEdgeOnlyWhileTheMouseIsOverIt)
{
    HWND button = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 220, 150, 40, 30, owner,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    CHoverButton state;
    SubclassHoverButton(state, owner, button);
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    HGDIOBJ previous = SelectObject(canvas, bitmap);
    auto draw = [&] {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = button;
        item.hDC = canvas;
        item.rcItem = RECT{0, 0, 40, 30};
        item.itemAction = ODA_DRAWENTIRE;
        DrawHoverButton(state, item);
    };
    draw();
    EXPECT_EQ(GetPixel(canvas, 0, 0), kOwnerBackground);
    EXPECT_EQ(GetPixel(canvas, 20, 15), kOwnerBackground);
    EXPECT_GE(g_backgroundRequests, 1);

    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(state.hovering);
    draw();
    EXPECT_EQ(GetPixel(canvas, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(canvas, 39, 29), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(canvas, 20, 15), kOwnerBackground);
    SendMessageA(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(state.hovering);

    state.parentPaintsBackground = false;
    draw();
    EXPECT_EQ(GetPixel(canvas, 0, 0), GetSysColor(COLOR_BTNFACE));
    SelectObject(canvas, previous);
    DeleteObject(bitmap);
    DeleteDC(canvas);
    ReleaseDC(nullptr, screen);
    DestroyWindow(button);
    // The button put its own procedure back and forgot its state.
    EXPECT_EQ(state.button, nullptr);
}

namespace {
std::string g_colorDialogTitle;

void CALLBACK CancelColorDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA("#32770", "Background colour of the note");
    if (!dialog)
        return;
    char title[100] = "";
    GetWindowTextA(dialog, title, sizeof title);
    g_colorDialogTitle = title;
    KillTimer(nullptr, timer);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}
}

TEST_F(ControlBehaviour, TheColourDialogOffersTheNoteTintsAndACancelChangesNothing)
{
    COLORREF custom[16];
    FillCustomColors(custom, 256);
    for (COLORREF color : custom)
        EXPECT_EQ(color, 0xFFFFFFu);
    FillCustomColors(custom, 1u << 24);
    EXPECT_EQ(custom[0], 0x9FFFFFu);
    EXPECT_EQ(custom[7], 0xFF6F6Fu);
    EXPECT_EQ(custom[8], 0xFFFFFFu);

    UINT_PTR timer = SetTimer(nullptr, 0, 50, &CancelColorDialog);
    ASSERT_NE(timer, 0u);
    COLORREF color = RGB(1, 2, 3);
    EXPECT_EQ(ChooseColorWithTitle(&color, owner, RGB(200, 100, 0), "Background colour of the note"), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_colorDialogTitle, "Background colour of the note");
    EXPECT_EQ(color, RGB(1, 2, 3));
}

TEST_F(ControlBehaviour, TheStyleTextBoxScrollsANotchALineAndSendsItsShortcutsToTheDialog)
{
    const int kRichId = 1460;
    LoadLibraryA("RICHED20.DLL");
    HWND rich = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 220, 10, 150,
                                80, owner, reinterpret_cast<HMENU>(kRichId), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(rich, nullptr);
    std::string text;
    for (int line = 0; line < 60; ++line)
        text += "Style line " + std::to_string(line) + "\r\n";
    SetWindowTextA(rich, text.c_str());
    CDlgRichEdit edit(owner, kRichId);
    EXPECT_EQ(SendMessageA(rich, WM_GETDLGCODE, 0, 0), DLGC_WANTTAB | DLGC_WANTALLKEYS);

    SendMessageA(rich, EM_LINESCROLL, 0, 10);
    ASSERT_EQ(SendMessageA(rich, EM_GETFIRSTVISIBLELINE, 0, 0), 10);
    SendMessageA(rich, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(SendMessageA(rich, EM_GETFIRSTVISIBLELINE, 0, 0), 9);
    SendMessageA(rich, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    SendMessageA(rich, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(SendMessageA(rich, EM_GETFIRSTVISIBLELINE, 0, 0), 11);

    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE saved[256];
    std::memcpy(saved, keys, sizeof saved);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    g_commands.clear();
    const int length = GetWindowTextLengthA(rich);
    SendMessageA(rich, WM_CHAR, 2, 0);
    SendMessageA(rich, WM_CHAR, '\t', 0);
    SendMessageA(rich, WM_CHAR, 21, 0);
    SetKeyboardState(saved);
    EXPECT_EQ(g_commands, (std::vector<WPARAM>{1363, 1364, 1365}));
    // The keys went to the dialog, not into the text.
    EXPECT_EQ(GetWindowTextLengthA(rich), length);

    // A top-to-bottom gradient shows under the text, right of the short lines:
    // pale at the top, the colour itself at the bottom.
    const GradientFillFunction before = GetGradientFillFunction();
    SetGradientFillFunction(
        reinterpret_cast<GradientFillFunction>(GetProcAddress(LoadLibraryA("msimg32.dll"), "GradientFill")));
    DlgRichEditBackground gradient;
    gradient.gradientKind = 2;
    gradient.color = RGB(0, 0, 200);
    edit.SetBackground(gradient);
    ASSERT_TRUE(edit.HasBackgroundPicture());
    SetWindowPos(owner, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(rich, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(rich, &client);
    auto pixel = [&](int y) {
        POINT point{client.right - 6, y};
        ClientToScreen(rich, &point);
        HDC screen = GetDC(nullptr);
        COLORREF colour = GetPixel(screen, point.x, point.y);
        ReleaseDC(nullptr, screen);
        return colour;
    };
    // The screen shows the paint when the display has taken it: poll for it.
    COLORREF top = 0, bottom = 0;
    WaitUntil([&] {
        top = pixel(2);
        bottom = pixel(client.bottom - 2);
        return GetRValue(top) > 100 && GetRValue(bottom) < 40 && GetBValue(bottom) > 160;
    });
    EXPECT_GT(GetRValue(top), 100) << std::hex << top;
    EXPECT_LT(GetRValue(bottom), 40) << std::hex << bottom;
    EXPECT_GT(GetBValue(bottom), 160) << std::hex << bottom;
    SetGradientFillFunction(before);
    DestroyWindow(rich);
}

TEST_F(ControlBehaviour, ALinkButtonTellsItsDialogOfOneClickOnce)
{
    const int id = 1166;
    HWND button = CreateWindowExA(0, "Button", "&Set password...", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 140, 150,
                                  20, owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    CLinkStatic link(owner, id);
    g_commands.clear();
    SendMessageA(button, BM_CLICK, 0, 0);
    SendMessageA(button, WM_CHAR, '\r', 0);
    ASSERT_EQ(g_commands.size(), 2u) << "one command for the click and one for Enter";
    for (WPARAM command : g_commands)
        EXPECT_EQ(command, MAKEWPARAM(id, BN_CLICKED));
    DestroyWindow(button);
}
