#include "support/HotkeyDriving.h"

#include <gtest/gtest.h>

#include "resources/ids/HotkeyIds.h"
#include "support/ProgramDriver.h"

bool HotkeyCombinationIsFree(UINT modifiers, UINT key)
{
    const int probeId = 0x3FFF;
    if (!RegisterHotKey(nullptr, probeId, modifiers, key))
        return false;
    UnregisterHotKey(nullptr, probeId);
    return true;
}

void ChooseHotkey(HWND dialog, bool ctrl, bool alt, bool shift, const char* keyName)
{
    const struct {
        int id;
        bool on;
    } boxes[] = {{IDC_HOTKEY_CTRL, ctrl}, {IDC_HOTKEY_ALT, alt}, {IDC_HOTKEY_SHIFT, shift}};
    for (bool adding : {true, false}) {
        for (const auto& box : boxes) {
            LRESULT state = 0;
            SendWithTimeout(GetDlgItem(dialog, box.id), BM_GETCHECK, 0, 0, &state);
            if (box.on == adding && (state == BST_CHECKED) != box.on)
                SendWithTimeout(GetDlgItem(dialog, box.id), BM_CLICK, 0, 0);
        }
    }
    HWND keys = GetDlgItem(dialog, IDC_HOTKEY_KEY);
    LRESULT row = -1;
    SendWithTimeout(keys, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(keyName), &row);
    ASSERT_GE(row, 0) << keyName;
    SendWithTimeout(keys, CB_SETCURSEL, row, 0);
    SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(IDC_HOTKEY_KEY, CBN_SELCHANGE), reinterpret_cast<LPARAM>(keys));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}
