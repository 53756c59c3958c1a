#include "note/NoteMessages.h"
#include "noteprops/NoteSheetDriving.h"

#include "resources/ids/NoteSettingsIds.h"
#include "support/ProgramDriver.h"

namespace {
}

const char kNoteSheetCaption[] = "Note settings...";

HWND PageWith(HWND sheet, int controlId)
{
    for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClassOf(child) == "#32770" && GetDlgItem(child, controlId))
            return child;
    }
    return nullptr;
}

NoteSheet OpenNoteSheet(HWND note, DWORD process, int controlId)
{
    NoteSheet open;
    PostMessageA(note, WM_COMMAND, kNoteCmdProperties, 0);
    WaitUntil([&] {
        open.sheet = FindTopWindowTitled("#32770", kNoteSheetCaption, process);
        open.page = open.sheet && IsWindowVisible(open.sheet) ? PageWith(open.sheet, controlId) : nullptr;
        return open.page != nullptr;
    });
    return open;
}

HWND OpenAlarmPage(DWORD process, HWND& sheet)
{
    HWND alarm = nullptr;
    WaitUntil([&] {
        sheet = FindTopWindowTitled("#32770", kNoteSheetCaption, process);
        alarm = sheet ? PageWith(sheet, IDC_ALARM_SET) : nullptr;
        return alarm && IsWindowVisible(alarm);
    });
    return alarm;
}
