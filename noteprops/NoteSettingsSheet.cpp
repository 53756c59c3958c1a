#include "noteprops/NoteSettingsSheet.h"

#include <iterator>

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "foundation/win/ProgramSheet.h"
#include "noteprops/AlarmPage.h"
#include "noteprops/AppearanceSettings.h"
#include "resources/ids/NoteSettingsIds.h"

void RunNoteSettingsSheet(HWND owner, int startPage, CAppearanceSettings& appearance, CAlarmSettings& alarm)
{
    CResourceString caption;
    caption.LoadString(GetModuleHandleA(nullptr), IDS_NOTE_SETTINGS);
    const CSheetPage pages[] = {{IDD_APPEARANCE_PAGE, &AppearancePageProc, &appearance},
                                {IDD_ALARM_PAGE, &AlarmPageProc, &alarm}};
    RunProgramSheet(owner, caption.GetText(), pages, static_cast<int>(std::size(pages)), startPage,
                    reinterpret_cast<PFNPROPSHEETCALLBACK>(&NoteSettingsSheetCallback));
}

int CALLBACK NoteSettingsSheetCallback(HWND sheet, UINT message, LPARAM lParam)
{
    return GuardCallback(0, [&] {
        // The sheet stays above other windows.
        if (message == PSCB_PRECREATE)
            AdjustSheetTemplate(lParam, DS_SYSMODAL | DS_MODALFRAME | DS_SETFOREGROUND, 0);
        else if (message == PSCB_INITIALIZED)
            StartProgramSheet(sheet, &NoteSettingsTabProc);
        return 0;
    });
}

LRESULT CALLBACK NoteSettingsTabProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SheetTabMessage(sheet, message, wParam, lParam);
}
