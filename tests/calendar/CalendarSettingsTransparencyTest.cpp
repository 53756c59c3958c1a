// The transparency of the calendar settings dialog, made by this test program
// over its own data folder: the trackbar and its label are offered only where
// the system has layered windows, and not for a colour-keyed (transparent)
// calendar.
#include <windows.h>

#include <gtest/gtest.h>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsDlg.h"
#include "calendar/CalendarSettingsFile.h"
#include "foundation/StartupValues.h"
#include "globals/CalendarStyle.h"
#include "globals/ProgramGlobals.h"
#include "resources/ids/CalendarSettingsIds.h"
#include "support/InFolder.h"

namespace {
const DWORD kTransparentBackground = 5;

class CalendarSettingsTransparency : public InFolder {
protected:
    void SetUp() override
    {
        m_layered = GetStartupValues().layeredWindows;
        BuildDefaultCalendarStyles(UserSettings().userId);
        LoadCalendarSettingsFile();
    }
    void TearDown() override
    {
        GetStartupValues().layeredWindows = m_layered;
        RemoveAllCalendarOptions();
        RemoveAllCalendarStyleSets();
    }

    // Whether the trackbar and its label are enabled in the dialog opened on
    // that background; -1 when the two disagree or the dialog did not come.
    int OfferedWith(DWORD background)
    {
        CCalendarSettingsDlg record;
        FillCalendarSettingsDlg(record, CurrentCalendarOptions());
        record.settings.backgroundType = background;
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CALENDAR_SETTINGS), nullptr,
                                         &CalendarSettingsDlgProc, reinterpret_cast<LPARAM>(&record));
        if (!dialog)
            return -1;
        const bool bar = IsWindowEnabled(GetDlgItem(dialog, IDC_CALSET_TRANSPARENCY)) != FALSE;
        const bool label = IsWindowEnabled(GetDlgItem(dialog, IDC_CALSET_TRANSPARENCY_LABEL)) != FALSE;
        DestroyWindow(dialog);
        return bar == label ? bar : -1;
    }

private:
    bool m_layered = false;
};
}

TEST_F(CalendarSettingsTransparency, IsOfferedOnlyWithLayeredWindowsAndNotForATransparentCalendar)
{
    GetStartupValues().layeredWindows = true;
    EXPECT_EQ(OfferedWith(0), 1);
    EXPECT_EQ(OfferedWith(kTransparentBackground), 0);
    GetStartupValues().layeredWindows = false;
    EXPECT_EQ(OfferedWith(0), 0);
    EXPECT_EQ(OfferedWith(kTransparentBackground), 0);
}
