#include "shell/HotkeyConflict.h"

#include <string>

#include "foundation/GenericString.h"
#include "foundation/TextFormatting.h"
#include "foundation/bytes/MessageBoxes.h"
#include "shell/bytes/HotkeyClashText.h"

namespace {
bool SameHotkey(DWORD ctrl, DWORD alt, DWORD shift, DWORD key, DWORD otherCtrl, DWORD otherAlt, DWORD otherShift,
          DWORD otherKey)
{
    return !ctrl == !otherCtrl && !alt == !otherAlt && !shift == !otherShift && key == otherKey;
}
}

std::string HotkeyCombinationText(DWORD ctrl, DWORD alt, DWORD shift, DWORD key)
{
    CGenericString text;
    HotkeyToText(text, ctrl != 0, alt != 0, shift != 0, key);
    return text.GetString();
}

int CheckHotkeyConflict(HWND owner, const CRecordList<CHotkeyGroupEntry>& groups,
                        const CHotkeyActionEntry (&actions)[kHotkeyActionCount], const char* name, long groupId,
                        DWORD ctrl, DWORD alt, DWORD shift, DWORD key)
{
    const std::string combination = HotkeyCombinationText(ctrl, alt, shift, key);
    const bool forGroup = groupId != -1;
    for (auto* node = groups.GetFirst(); node; node = node->next) {
        const CNoteGroup& other = node->record.group;
        if (static_cast<long>(other.id) == groupId || !other.hotkey_ifAllow ||
            !SameHotkey(ctrl, alt, shift, key, other.hotkey_ctrl, other.hotkey_alt, other.hotkey_shift,
                        other.hotkey_key))
            continue;
        bool warning = false;
        const std::string text = GroupClashText(combination, name, forGroup, other.name, &warning);
        ShowMessageBox(owner, text.c_str(), "Quillnet+", MB_OK | (warning ? MB_ICONWARNING : MB_ICONERROR));
        break;
    }
    for (const CHotkeyActionEntry& entry : actions) {
        if (!entry.enabled || lstrcmpiA(entry.name, name) == 0 ||
            !SameHotkey(ctrl, alt, shift, key, entry.ctrl, entry.alt, entry.shift, entry.key))
            continue;
        const std::string text = ActionClashText(combination, name, forGroup, entry.name);
        ShowMessageBox(owner, text.c_str(), "Quillnet+", MB_OK | MB_ICONERROR);
        return 1;
    }
    return 0;
}
