// The Appearance page's transparency slider and its label, on the sheet run
// in this process as the program runs it: on a system without layered
// windows they stay disabled whatever the background; with them, only the
// "Transparent" background disables them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "foundation/DateTime.h"
#include "foundation/StartupValues.h"
#include "noteprops/AlarmSettings.h"
#include "noteprops/AppearanceSettings.h"
#include "noteprops/NoteSettingsSheet.h"
#include "resources/ids/NoteSettingsIds.h"
#include "support/InFolder.h"
#include "support/PickerDriving.h"
#include "support/ProgramDriver.h"

namespace {
const int kTransparent = 5;

class TransparencySlider : public InFolder {
protected:
    void SetUp() override { m_layered = GetStartupValues().layeredWindows; }
    void TearDown() override { GetStartupValues().layeredWindows = m_layered; }

    // Whether the slider and its label are enabled on a sheet opened on that
    // background, then after each background chosen in turn; -1 when the
    // two disagree or the sheet did not come.
    std::vector<int> EnabledWith(DWORD background, std::initializer_list<int> chosen)
    {
        CAppearanceSettings appearance;
        appearance.backgroundKind = background;
        appearance.transparency = 40;
        DWORD centred = 0;
        appearance.centred = &centred;
        CAlarmSettings alarm(false, CDateTime(), false, false, 1, 0, 0, &centred, false, nullptr);
        PickerRun run("Note settings...", "", [&] {
            RunNoteSettingsSheet(nullptr, 0, appearance, alarm);
            return INT_PTR(0);
        });
        std::vector<int> states;
        HWND sheet = nullptr, page = nullptr;
        WaitUntil([&] {
            sheet = run.Dialog();
            page = sheet ? FindPage(sheet) : nullptr;
            return page != nullptr;
        });
        if (!page)
            return {-1};
        states.push_back(State(page));
        HWND combo = GetDlgItem(page, IDC_APPEARANCE_BACKGROUND);
        for (int kind : chosen) {
            SendMessageA(combo, CB_SETCURSEL, kind, 0);
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_APPEARANCE_BACKGROUND, CBN_SELENDOK),
                         reinterpret_cast<LPARAM>(combo));
            states.push_back(State(page));
        }
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        run.Result();
        return states;
    }

private:
    static HWND FindPage(HWND sheet)
    {
        for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetDlgItem(child, IDC_APPEARANCE_TRANSPARENCY))
                return child;
        return nullptr;
    }
    static int State(HWND page)
    {
        const bool slider = IsWindowEnabled(GetDlgItem(page, IDC_APPEARANCE_TRANSPARENCY)) != FALSE;
        const bool label = IsWindowEnabled(GetDlgItem(page, IDC_APPEARANCE_TRANSPARENCY_LABEL)) != FALSE;
        return slider == label ? slider : -1;
    }

    bool m_layered = false;
};
}

TEST_F(TransparencySlider, IsOffWithoutLayeredWindowsAndOnTheTransparentBackground)
{
    GetStartupValues().layeredWindows = false;
    EXPECT_EQ(EnabledWith(0, {2, kTransparent, 0}), (std::vector<int>{0, 0, 0, 0}));
    GetStartupValues().layeredWindows = true;
    EXPECT_EQ(EnabledWith(0, {2, kTransparent, 0}), (std::vector<int>{1, 1, 0, 1}));
    EXPECT_EQ(EnabledWith(kTransparent, {3}), (std::vector<int>{0, 1}));
}
