// The key-combination dialog of the hotkeys page: three modifier boxes and
// the key, checked so that a combination never rests on one modifier alone.
#include "shell/HotkeyDialog.h"

#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/FormatSettings.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "resources/ids/HotkeyIds.h"
#include "globals/ProgramGlobals.h"

namespace {
const DWORD kDialogHighestRestrictedKey = 100;

HotkeyDialogRecord* RecordOf(HWND dialog)
{
    return reinterpret_cast<HotkeyDialogRecord*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::string HotkeyDialogText(UINT id)
{
    char text[256] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

const char* KeyName(DWORD code)
{
    const int count = HotkeyKeyTableCount < kHotkeyKeyTableSize ? HotkeyKeyTableCount : kHotkeyKeyTableSize;
    for (int i = 0; i < count; ++i) {
        if (HotkeyKeyTable[i].code == code)
            return HotkeyKeyTable[i].name;
    }
    return "";
}

bool IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// At least two of Ctrl, Alt and Shift; otherwise the user is told why.
bool CheckCombination(HWND dialog, const HotkeyDialogRecord& record)
{
    const int modifiers = IsChecked(dialog, IDC_HOTKEY_CTRL) + IsChecked(dialog, IDC_HOTKEY_ALT) +
                          IsChecked(dialog, IDC_HOTKEY_SHIFT);
    if (modifiers >= 2)
        return true;
    const std::string text = HotkeyDialogText(IDS_HOTKEY_TWO_MODIFIERS) + KeyName(record.key) + "' key.";
    ShowMessageBox(dialog, text.c_str(), "Quillnet...", kMbIconHand);
    return false;
}

void InitHotkeyDialog(HWND dialog, HotkeyDialogRecord& record)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&record));
    SetWindowTextA(dialog, record.title);
    HWND keys = GetDlgItem(dialog, IDC_HOTKEY_KEY);
    const int count = HotkeyKeyTableCount < kHotkeyKeyTableSize ? HotkeyKeyTableCount : kHotkeyKeyTableSize;
    for (int i = 0; i < count; ++i)
        SendMessageA(keys, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(HotkeyKeyTable[i].name));
    SendMessageA(keys, CB_SETCURSEL, FindHotkeyIndex(record.key), 0);
    CheckDlgButton(dialog, IDC_HOTKEY_CTRL, record.ctrl ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_HOTKEY_ALT, record.alt ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_HOTKEY_SHIFT, record.shift ? BST_CHECKED : BST_UNCHECKED);
    SetFocus(GetDlgItem(dialog, IDC_HOTKEY_CTRL));
}

void OnModifierClicked(HWND dialog, HotkeyDialogRecord& record, int id)
{
    EnableWindow(GetDlgItem(dialog, IDOK), CheckCombination(dialog, record));
    const DWORD state = IsChecked(dialog, id) ? 1 : 0;
    if (id == IDC_HOTKEY_CTRL)
        record.ctrl = state;
    else if (id == IDC_HOTKEY_ALT)
        record.alt = state;
    else
        record.shift = state;
}

void OnKeyChosen(HWND dialog, HotkeyDialogRecord& record)
{
    const LRESULT row = SendDlgItemMessageA(dialog, IDC_HOTKEY_KEY, CB_GETCURSEL, 0, 0);
    if (row < 0 || row >= HotkeyKeyTableCount || row >= kHotkeyKeyTableSize)
        return;
    const CHotkeyKeyName& key = HotkeyKeyTable[row];
    if (record.restricted && key.code > kDialogHighestRestrictedKey) {
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        const std::string text = std::string("Sorry, in this case the key '") + key.name +
                                 "' is not allowed for internal reasons.\r\n" +
                                 HotkeyDialogText(IDS_HOTKEY_CHOOSE_LETTER);
        ShowMessageBox(dialog, text.c_str(), "Quillnet+", kMbOk);
        return;
    }
    EnableWindow(GetDlgItem(dialog, IDOK), TRUE);
    record.key = key.code;
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        InitHotkeyDialog(dialog, *reinterpret_cast<HotkeyDialogRecord*>(lParam));
        return FALSE;  // the focus is set
    }
    HotkeyDialogRecord* record = RecordOf(dialog);
    if (!record)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_HOTKEY_CTRL:
        case IDC_HOTKEY_ALT:
        case IDC_HOTKEY_SHIFT:
            if (HIWORD(wParam) == BN_CLICKED)
                OnModifierClicked(dialog, *record, LOWORD(wParam));
            return TRUE;
        case IDC_HOTKEY_KEY:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                OnKeyChosen(dialog, *record);
            return TRUE;
        case IDOK:
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_HELP:
        ShowHelpTopic(dialog, IDH_HOTKEY);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK HotkeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return HandleMessage(dialog, message, wParam, lParam); });
}
}

INT_PTR ShowHotkeyDialog(HINSTANCE instance, HWND owner, HotkeyDialogRecord& record)
{
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_HOTKEY), owner, &HotkeyDialogProc,
                                     reinterpret_cast<LPARAM>(&record));
    return result == 1 ? 1 : 0;
}

bool AskForKeys(HWND owner, const std::string& title, DWORD restricted, DWORD& ctrl, DWORD& alt, DWORD& shift,
                DWORD& key)
{
    HotkeyDialogRecord record{};
    record.restricted = restricted;
    lstrcpynA(record.title, title.c_str(), sizeof record.title);
    record.ctrl = ctrl;
    record.alt = alt;
    record.shift = shift;
    record.key = key;
    if (ShowHotkeyDialog(GetModuleHandleA(nullptr), owner, record) != 1)
        return false;
    ctrl = record.ctrl;
    alt = record.alt;
    shift = record.shift;
    key = record.key;
    return true;
}
