#include "foundation/win/DlgComboBoxes.h"

#include <vector>

#include "foundation/GenericString.h"
#include "foundation/TextFormatting.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/Subclassing.h"
#include "foundation/win/Tooltips.h"
#include "resources/ids/ComboBoxMenuIds.h"

namespace {
const char kDlgComboBoxesOwner[] = "QnDlgComboBox";
const size_t kMenuTextLimit = 51;
const int kSampleBox = 18;
const int kTextIndent = 25;

std::string MenuItemText(HMENU menu, UINT id)
{
    char text[128] = "";
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

void Rename(HMENU menu, UINT id, const std::string& text)
{
    ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING, id, text.c_str());
}
}

namespace {
// A context menu resource; null after the box naming the loader.
HMENU LoadComboMenu(HWND dialog, const char* name, const char* failureText)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), name);
    if (!menu)
        ShowErrorMessage(dialog, failureText, ProgramTitle);
    return menu;
}
}

std::string MenuTextWithName(const char* base, const std::string& name)
{
    std::string text = std::string(base) + " '" + name + "'";
    return text.size() < kMenuTextLimit ? text : std::string(base);
}

CDlgComboBox::CDlgComboBox(HWND dialog, int controlId) : m_dialog(dialog), m_combo(GetDlgItem(dialog, controlId))
{
    m_previous = SubclassWindow(m_combo, kDlgComboBoxesOwner, this, &CDlgComboBox::SubclassProc);
}

CDlgComboBox::~CDlgComboBox()
{
    RestoreWindowProc(m_combo, kDlgComboBoxesOwner, m_previous);
}

int CDlgComboBox::Selection() const
{
    return static_cast<int>(SendMessageA(m_combo, CB_GETCURSEL, 0, 0));
}

std::string CDlgComboBox::SelectedText() const
{
    int selection = Selection();
    LRESULT length = selection < 0 ? CB_ERR : SendMessageA(m_combo, CB_GETLBTEXTLEN, selection, 0);
    if (length == CB_ERR || length < 0)
        return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, 0);
    SendMessageA(m_combo, CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

HMENU CDlgComboBox::BuildMenu()
{
    return LoadContextMenu();
}

void CDlgComboBox::ShowMenu(LPARAM position)
{
    HMENU loaded = LoadContextMenu();
    if (!loaded)
        return;
    m_menuHandle = GetSubMenu(loaded, 0);
    m_menu.AttachPlainItems(GetModuleHandleA(nullptr), m_menuHandle);
    POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ClientToScreen(m_combo, &point);
    m_menu.TrackPopup(TPM_RIGHTBUTTON, point.x, point.y, m_combo);
    m_menu.Detach();
    DestroyMenu(loaded);
    m_menuHandle = nullptr;
}

LRESULT CALLBACK CDlgComboBox::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToSubclassOwner(window, kDlgComboBoxesOwner, &CDlgComboBox::OnMessage, message, wParam, lParam);
}

LRESULT CDlgComboBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = m_previous;
    HWND combo = m_combo;
    switch (message) {
    case WM_LBUTTONDOWN:
        if (m_readOnly) {
            SetFocus(m_combo);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (m_tooltipsOn)
            RelayMouseToTooltip(m_tooltip);
        break;
    case WM_RBUTTONDOWN:
        ShowMenu(lParam);
        return 0;
    case WM_MEASUREITEM:
        // The items of the menu on show, owner-drawn since they were attached.
        if (m_menuHandle && reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlType == ODT_MENU) {
            m_menu.MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (m_menuHandle && draw->CtlType == ODT_MENU && reinterpret_cast<HMENU>(draw->hwndItem) == m_menuHandle) {
            m_menu.DrawItem(draw);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        // A command of the box's own menu comes without a window; the box's
        // drop-down list reports by WM_COMMAND too, and the box itself turns
        // that into its selection change and closes the list.
        if (lParam == 0)
            return SendMessageA(m_dialog, message, wParam, lParam);
        break;
    case WM_NCDESTROY:
        RestoreWindowProc(combo, kDlgComboBoxesOwner, previous);
        m_previous = nullptr;
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, combo, message, wParam, lParam);
}

CDlgComboBoxStyle::CDlgComboBoxStyle(HWND dialog, int controlId, StyleSamplePainter painter)
    : CDlgComboBox(dialog, controlId), m_painter(std::move(painter))
{
}

HMENU CDlgComboBoxStyle::LoadContextMenu()
{
    HMENU menu = LoadComboMenu(m_dialog, "ComboBox", "CDlgComboBoxStyle::LoadMenu failed");
    if (!menu)
        return nullptr;
    HMENU popup = GetSubMenu(menu, 0);
    Rename(popup, ID_STYLE_COMBO_RENAME, MenuTextWithName(MenuItemText(popup, ID_STYLE_COMBO_RENAME).c_str(),
                                                           SelectedText()));
    // The first entry is the program's own and keeps its name.
    if (Selection() == 0)
        EnableMenuItem(popup, ID_STYLE_COMBO_RENAME, MF_BYCOMMAND | MF_GRAYED);
    return menu;
}

void CDlgComboBoxStyle::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (item.itemID == static_cast<UINT>(-1) || !(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)))
        return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != 0 && m_painter) {
        int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - kSampleBox) / 2;
        RECT sample = {item.rcItem.left + 2, top, item.rcItem.left + 2 + kSampleBox, top + kSampleBox};
        m_painter(dc, sample, static_cast<int>(item.itemID));
    }
    char text[128] = "";
    LRESULT length = SendMessageA(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
    if (length >= 0 && length < static_cast<LRESULT>(sizeof text))
        SendMessageA(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    RECT textRect = item.rcItem;
    textRect.left += kTextIndent;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &item.rcItem);
}

CDlgComboBoxGroup::CDlgComboBoxGroup(HWND dialog, int controlId, GroupHotkeyLookup hotkeys)
    : CDlgComboBox(dialog, controlId), m_hotkeys(std::move(hotkeys))
{
}

HMENU CDlgComboBoxGroup::LoadContextMenu()
{
    HMENU menu = LoadComboMenu(m_dialog, "GroupComboBox", "CDlgComboBoxGroup::LoadMenu failed");
    if (!menu)
        return nullptr;
    HMENU popup = GetSubMenu(menu, 0);
    // The list is not reset from here: the entry and its separator go.
    int reset = -1;
    for (int item = 0; item < GetMenuItemCount(popup); ++item)
        if (GetMenuItemID(popup, item) == ID_GROUP_COMBO_RESET)
            reset = item;
    if (reset > 0) {
        DeleteMenu(popup, static_cast<UINT>(reset), MF_BYPOSITION);
        DeleteMenu(popup, static_cast<UINT>(reset - 1), MF_BYPOSITION);
    }
    const std::string name = SelectedText();
    Rename(popup, ID_GROUP_COMBO_RENAME, MenuTextWithName(MenuItemText(popup, ID_GROUP_COMBO_RENAME).c_str(), name));
    Rename(popup, ID_GROUP_COMBO_DELETE, MenuTextWithName(MenuItemText(popup, ID_GROUP_COMBO_DELETE).c_str(), name));
    const int selection = Selection();
    GroupHotkey hotkey = m_hotkeys && selection >= 0 ? m_hotkeys(selection) : GroupHotkey();
    std::string hotkeyText = MenuItemText(popup, ID_GROUP_COMBO_HOTKEY);
    if (hotkey.set && hotkey.key) {
        CGenericString keys(64);
        HotkeyToText(keys, hotkey.ctrl, hotkey.alt, hotkey.shift, hotkey.key);
        hotkeyText += std::string(" (") + keys.GetString() + ")...";
    } else {
        hotkeyText += "...";
    }
    Rename(popup, ID_GROUP_COMBO_HOTKEY, hotkeyText);
    if (selection >= 0 && selection < kBuiltInGroups) {
        for (UINT id : {ID_GROUP_COMBO_RENAME, ID_GROUP_COMBO_DELETE, ID_GROUP_COMBO_HOTKEY})
            EnableMenuItem(popup, id, MF_BYCOMMAND | MF_GRAYED);
    }
    return menu;
}
