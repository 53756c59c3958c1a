// The Alarm page's own edits. The time always reads "HH:MM": a digit replaces
// the one at the caret, which then moves on over the colon; nothing deletes.
// The two value edits take at most two digits, as the record keeps a byte.
#include <windows.h>

#include <prsht.h>

#include "foundation/CallbackGuard.h"
#include "noteprops/AlarmPage.h"
#include "resources/ids/NoteSettingsIds.h"

namespace {
const char kTimeProperty[] = "QnAlarmTimeEdit";
const char kValueProperty[] = "QnAlarmValueEdit";

CAlarmPage* OwnerOf(HWND edit, const char* property)
{
    return static_cast<CAlarmPage*>(GetPropA(edit, property));
}

WNDPROC& ProcedureOf(CAlarmPage& page, HWND edit)
{
    const int id = GetDlgCtrlID(edit);
    if (id == IDC_ALARM_TIME)
        return page.m_timeEditProc;
    return id == IDC_ALARM_VALUE ? page.m_valueEditProc : page.m_stopEditProc;
}

void RefuseAlarmEdit()
{
    MessageBeep(MB_OK);
}

// Enter and Tab move on, Shift+Tab back, Escape cancels the sheet; true when
// the key was one of them.
bool MoveOrCancel(HWND edit, WPARAM key)
{
    HWND page = GetParent(edit);
    if (key == VK_ESCAPE) {
        PostMessageA(GetParent(page), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return true;
    }
    if (key != VK_RETURN && key != VK_TAB)
        return false;
    const bool back = key == VK_TAB && GetKeyState(VK_SHIFT) < 0;
    if (HWND next = GetNextDlgTabItem(GetParent(page), edit, back))
        SetFocus(next);
    return true;
}

void PutCaret(HWND edit, int position)
{
    SendMessageA(edit, EM_SETSEL, position, position);
}

LRESULT OnTimeChar(HWND edit, WPARAM key)
{
    char text[8] = "";
    GetWindowTextA(edit, text, sizeof text);
    DWORD caret = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    int at = static_cast<int>(caret);
    if (at == 2)
        at = 3;
    const char digit = static_cast<char>(key);
    if (lstrlenA(text) != 5 || !TimeDigitAllowed(text, at, digit)) {
        RefuseAlarmEdit();
        return 0;
    }
    text[at] = digit;
    SetWindowTextA(edit, text);
    PutCaret(edit, at + 1 == 2 ? 3 : at + 1);
    return 0;
}

LRESULT CALLBACK TimeEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    CAlarmPage* page = OwnerOf(edit, kTimeProperty);
    if (!page)
        return DefWindowProcA(edit, message, wParam, lParam);
    WNDPROC previous = page->m_timeEditProc;
    return GuardCallback<LRESULT>(0, [&]() -> LRESULT {
        switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (MoveOrCancel(edit, wParam))
                return 0;
            if (wParam == VK_DELETE) {
                RefuseAlarmEdit();
                return 0;
            }
            if (wParam == VK_END) {
                PutCaret(edit, 4);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE)
                return 0;
            if (wParam < '0' || wParam > '9') {
                RefuseAlarmEdit();
                return 0;
            }
            return OnTimeChar(edit, wParam);
        case WM_LBUTTONDOWN: {
            const LRESULT result = CallWindowProcA(previous, edit, message, wParam, lParam);
            DWORD caret = 0;
            SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
            PutCaret(edit, caret == 2 ? 3 : (caret >= 5 ? 4 : static_cast<int>(caret)));
            return result;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LRESULT result = CallWindowProcA(previous, edit, message, wParam, lParam);
            PutCaret(edit, 0);
            page->RefreshIfRecurring();
            return result;
        }
        default:
            break;
        }
        return CallWindowProcA(previous, edit, message, wParam, lParam);
    });
}

LRESULT CALLBACK ValueEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    CAlarmPage* page = OwnerOf(edit, kValueProperty);
    if (!page)
        return DefWindowProcA(edit, message, wParam, lParam);
    WNDPROC previous = ProcedureOf(*page, edit);
    return GuardCallback<LRESULT>(0, [&]() -> LRESULT {
        switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (MoveOrCancel(edit, wParam))
                return 0;
            break;
        case WM_CHAR:
            if (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE)
                return 0;
            if (wParam == 1) {  // Ctrl+A
                SendMessageA(edit, EM_SETSEL, 0, -1);
                return 0;
            }
            if ((wParam < '0' || wParam > '9') && wParam != VK_BACK) {
                RefuseAlarmEdit();
                return 0;
            }
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = CallWindowProcA(previous, edit, message, wParam, lParam);
            // Told once the focus has settled: a box now would fight the focus change.
            PostMessageA(GetParent(edit), kMsgCheckAlarmValue, GetDlgCtrlID(edit), 0);
            if (GetDlgCtrlID(edit) == IDC_ALARM_VALUE)
                page->RefreshIfRecurring();
            return result;
        }
        default:
            break;
        }
        return CallWindowProcA(previous, edit, message, wParam, lParam);
    });
}

void Subclass(CAlarmPage& page, HWND edit, const char* property, WNDPROC procedure)
{
    SetPropA(edit, property, &page);
    ProcedureOf(page, edit) =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}
}

bool TimeDigitAllowed(const char* text, int caret, char digit)
{
    switch (caret) {
    case 0:
        return digit <= '2' && !(digit == '2' && text[1] >= '4');
    case 1:
        return !(text[0] == '2' && digit >= '4');
    case 3:
        return digit <= '5';
    case 4:
        return true;
    default:
        return false;
    }
}

void SubclassAlarmTimeEdit(CAlarmPage& page)
{
    Subclass(page, page.Item(IDC_ALARM_TIME), kTimeProperty, &TimeEditProc);
}

void SubclassAlarmValueEdit(CAlarmPage& page, int editId)
{
    HWND edit = page.Item(editId);
    SendMessageA(edit, EM_LIMITTEXT, 2, 0);
    Subclass(page, edit, kValueProperty, &ValueEditProc);
}
