#include "shell/SettingsPageControls.h"

#include "foundation/CallbackGuard.h"
#include "foundation/win/LinkStatic.h"
#include "foundation/win/Subclassing.h"

namespace {
const char kPageEditProperty[] = "QnPageEdit";

struct PageEdit {
    WNDPROC previous;
    PageEditChars allowed;
    PageEditCheck onLeaving;
};

// The focus went from the edit to another control of its sheet, other than
// Cancel: the edit's value is to be checked.
bool LeftForSheetControl(HWND edit, HWND gaining)
{
    HWND sheet = GetAncestor(edit, GA_ROOT);
    return gaining && GetAncestor(gaining, GA_ROOT) == sheet && gaining != GetDlgItem(sheet, IDCANCEL);
}

bool CharAllowed(PageEditChars allowed, WPARAM key)
{
    if (allowed == PageEditChars::kAny || key == '\b' || (key >= '0' && key <= '9'))
        return true;
    return allowed == PageEditChars::kDigitsAndComma && key == ',';
}

void SelectAllWhenNothingIs(HWND edit)
{
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == end)
        SendMessageA(edit, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK PageEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = static_cast<PageEdit*>(GetPropA(edit, kPageEditProperty));
    if (!state)
        return DefWindowProcA(edit, message, wParam, lParam);
    const WNDPROC previous = state->previous;
    bool handled = false;
    GuardCallback([&] {
        HWND page = GetParent(edit);
        switch (message) {
        case WM_GETDLGCODE:
            handled = true;
            break;
        case WM_CHAR:
            handled = true;
            if (wParam == '\t' || wParam == '\r')
                PostNextDialogControl(page, wParam == '\t' && GetKeyState(VK_SHIFT) < 0);
            else if (wParam == VK_ESCAPE)
                PostDialogCancel(GetParent(page));
            else if (!CharAllowed(state->allowed, wParam))
                MessageBeep(0);
            else {
                handled = false;
                if (state->allowed == PageEditChars::kOneDigit && wParam != '\b')
                    SelectAllWhenNothingIs(edit);
            }
            break;
        case WM_NCDESTROY:
            RestoreWindowProc(edit, kPageEditProperty, previous);
            delete state;
            break;
        default:
            break;
        }
    });
    if (message == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS | CallWindowProcA(previous, edit, message, wParam, lParam);
    if (message == WM_KILLFOCUS && state->onLeaving) {
        // The edit loses the focus first; the check may give it back.
        const PageEditCheck check = state->onLeaving;
        LRESULT result = CallWindowProcA(previous, edit, message, wParam, lParam);
        GuardCallback([&] {
            HWND gaining = reinterpret_cast<HWND>(wParam);
            if (LeftForSheetControl(edit, gaining))
                check(edit, gaining);
        });
        return result;
    }
    if (handled)
        return 0;
    return CallWindowProcA(previous, edit, message, wParam, lParam);
}
}

void SubclassPageEdit(HWND edit, PageEditChars allowed, PageEditCheck onLeaving)
{
    if (!edit || GetPropA(edit, kPageEditProperty))
        return;
    auto* state = new PageEdit{nullptr, allowed, onLeaving};
    state->previous = SubclassWindow(edit, kPageEditProperty, state, &PageEditProc);
}

bool IsSheetTabs(HWND page, HWND window)
{
    return window && window == PropSheet_GetTabControl(GetParent(page));
}

std::string TrimmedItemText(HWND page, int id, int maxChars)
{
    char text[256] = "";
    const int size = maxChars + 1 < static_cast<int>(sizeof text) ? maxChars + 1 : static_cast<int>(sizeof text);
    GetDlgItemTextA(page, id, text, size);
    std::string value = text;
    const size_t start = value.find_first_not_of(' ');
    if (start == std::string::npos)
        return "";
    return value.substr(start, value.find_last_not_of(' ') - start + 1);
}

INT_PTR AnswerSheet(HWND page, LONG_PTR result)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}

DWORD ItemChecked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
}

void CheckItem(HWND page, int id, DWORD on)
{
    CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
}
