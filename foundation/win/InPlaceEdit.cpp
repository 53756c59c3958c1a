#include "foundation/win/InPlaceEdit.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "foundation/CallbackGuard.h"

namespace {
const char kInPlaceEditOwner[] = "QnInPlaceOwner";
const char kPreviousProperty[] = "QnInPlacePrevious";

enum class EditKind { kGroups, kStyles };

int ListSelection(HWND list)
{
    char className[32] = "";
    GetClassNameA(list, className, sizeof className);
    if (lstrcmpiA(className, "ComboBox") == 0)
        return static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
    if (lstrcmpiA(className, "ListBox") == 0)
        return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string Trimmed(const char* text)
{
    std::string value(text);
    size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

void EndEdit(HWND edit, CInPlaceEditOwner& owner, EditKind kind)
{
    char text[26] = "";
    GetWindowTextA(edit, text, sizeof text);
    std::snprintf(owner.text, sizeof owner.text, "%s", Trimmed(text).c_str());
    ShowWindow(edit, SW_HIDE);
    if (!owner.cancelled && std::string(owner.text).size() >= 2) {
        WPARAM selection = static_cast<WPARAM>(ListSelection(owner.list));
        LPARAM named = reinterpret_cast<LPARAM>(owner.text);
        if (kind == EditKind::kGroups)
            SendMessageA(owner.notify, owner.mode ? kMsgGroupRenamed : kMsgGroupCreated, selection, named);
        else if (owner.mode)
            SendMessageA(owner.notify, kMsgStyleRenamed, selection, named);
    }
    PostMessageA(edit, WM_CLOSE, 0, 0);
}

LRESULT InPlaceEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, EditKind kind)
{
    auto* owner = static_cast<CInPlaceEditOwner*>(GetPropA(edit, kInPlaceEditOwner));
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(edit, kPreviousProperty));
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && owner)
            owner->cancelled = true;
        if (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE) {
            SetFocus(GetParent(edit));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == '\t' || wParam == VK_ESCAPE)
            return 0;
        break;
    case WM_GETDLGCODE:
        if (owner)
            owner->cancelled = false;
        return DLGC_WANTALLKEYS;
    case WM_KILLFOCUS:
        if (owner) {
            SetPropA(edit, kInPlaceEditOwner, nullptr);
            EndEdit(edit, *owner, kind);
        }
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(edit, kInPlaceEditOwner);
        RemovePropA(edit, kPreviousProperty);
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, edit, message, wParam, lParam);
}

LRESULT CALLBACK GroupEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<LRESULT>(0, [&] { return InPlaceEditMessage(edit, message, wParam, lParam, EditKind::kGroups); });
}

LRESULT CALLBACK StyleEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<LRESULT>(0, [&] { return InPlaceEditMessage(edit, message, wParam, lParam, EditKind::kStyles); });
}

HWND Begin(CInPlaceEditOwner& owner, WNDPROC procedure)
{
    owner.cancelled = false;
    owner.text[sizeof owner.text - 1] = '\0';
    CInPlaceEdit edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, owner.itemRect, GetParent(owner.list), kInPlaceEditId);
    HWND window = edit.GetWindow();
    if (!window)
        return nullptr;
    SetWindowTextA(window, owner.text);
    SetPropA(window, kInPlaceEditOwner, &owner);
    SetPropA(window, kPreviousProperty,
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure))));
    SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(owner.maxLength), 0);
    SendMessageA(window, WM_SETFONT, SendMessageA(owner.list, WM_GETFONT, 0, 0), TRUE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus(window);
    SendMessageA(window, EM_SETSEL, 0, -1);
    return window;
}
}

CInPlaceEdit::CInPlaceEdit(DWORD style, const RECT& rect, HWND parent, UINT id)
    : m_window(CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", style, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr))
{
}

HWND BeginInPlaceEdit(CInPlaceEditOwner& owner)
{
    return Begin(owner, &GroupEditProc);
}

HWND BeginInPlaceEditSecond(CInPlaceEditOwner& owner)
{
    return Begin(owner, &StyleEditProc);
}
