// The calendar settings dialog's record, its procedure and the hotkey
// services the shell hands over.
#include "calendar/CalendarSettingsDlg.h"

#include <memory>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsDlgWnd.h"
#include "foundation/CallbackGuard.h"
#include "resources/ids/CalendarSettingsIds.h"

namespace {
CalendarHotkeyServices g_hotkeyServices;

CCalendarSettingsWnd* WindowObjectOf(HWND dialog)
{
    return reinterpret_cast<CCalendarSettingsWnd*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}
}

void SetCalendarHotkeyServices(const CalendarHotkeyServices& services)
{
    g_hotkeyServices = services;
}

const CalendarHotkeyServices& GetCalendarHotkeyServices()
{
    return g_hotkeyServices;
}

void FillCalendarSettingsDlg(CCalendarSettingsDlg& record, const CCalendarStyle& options)
{
    record.settings = options;
    record.groups.RemoveAll();
    if (g_hotkeyServices.readHotkeys)
        g_hotkeyServices.readHotkeys(record.actions, record.groups);
    const CCalendarStyleSet& set = CurrentCalendarStyleSet();
    for (int index = 0; index < 9; ++index)
        record.styles[index] = set.styles[index];
    record.selectedStyle = -1;
}

INT_PTR RunCalendarSettingsDialog(HWND owner, CCalendarSettingsDlg& record)
{
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CALENDAR_SETTINGS), owner,
                                           &CalendarSettingsDlgProc, reinterpret_cast<LPARAM>(&record));
    return result == 1 ? 1 : 0;
}

INT_PTR CALLBACK CalendarSettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            auto* record = reinterpret_cast<CCalendarSettingsDlg*>(lParam);
            auto object = std::make_unique<CCalendarSettingsWnd>(dialog, *record);
            SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object.get()));
            // A dialog that could not be set up ends at once, changing nothing.
            if (!GuardCallback<bool>(false, [&] {
                    object.release()->OnInitDialog();
                    return true;
                }))
                EndDialog(dialog, 0);
            return TRUE;
        }
        CCalendarSettingsWnd* object = WindowObjectOf(dialog);
        if (!object)
            return FALSE;
        if (message == WM_DESTROY) {
            SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
            delete object;
            return FALSE;
        }
        INT_PTR result = FALSE;
        return object->OnMessage(message, wParam, lParam, &result) ? result : FALSE;
    });
}
