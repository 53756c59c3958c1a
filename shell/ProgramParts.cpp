#include <winsock2.h>

#include "shell/ProgramParts.h"

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsDlg.h"
#include "calendar/CalendarWindow.h"
#include "net/NetworkNoteStrips.h"
#include "note/NoteCreation.h"
#include "note/NoteFavouritesMenu.h"
#include "note/NoteGroupWaiting.h"
#include "note/NoteStrips.h"
#include "notemanager/NoteManagerEntry.h"
#include "notemanager/NoteManagerGroupMembers.h"
#include "shell/Favourites.h"
#include "shell/HotkeyActionTable.h"
#include "shell/HotkeyConflict.h"
#include "shell/HotkeyDialog.h"
#include "shell/OpenDialogs.h"
#include "shell/WindowController.h"
#include "store/NoteMaking.h"

namespace {
void ReadProgramHotkeys(CHotkeyActionEntry (&actions)[kHotkeyActionCount], CRecordList<CHotkeyGroupEntry>& groups)
{
    HotkeyActionTable table;
    BuildHotkeyActionTable(table, 0, 0);
    for (int row = 0; row < kHotkeyActionCount; ++row)
        actions[row] = table.actions[row];
    groups.RemoveAll();
    for (auto* node = table.groups.GetFirst(); node; node = node->next)
        groups.AddToTail(node->record);
}
}

void ConnectProgramParts()
{
    // The tables describe notes; the note side makes them.
    SetNoteMaker(&CreateNote);
    // Note windows host the chat and send strips of the network side.
    SetNoteStrips(&NetworkNoteStrips());
    // A note's favourites menu opens the shell's favourites folder.
    SetFavouritesOrganizer(&OrganizeFavourites);
    SetFavouritesLister(&ListPendingFavourites);
    // A note stored at last joins the group picked for it meanwhile.
    SetWaitingGroupJoiner(&JoinStoredNoteToWaitingGroup);
    // The Note Manager reaches the other dialogs, the calendar and the
    // hotkeys page through the shell.
    NoteManagerServices services;
    services.activateOpenDialog = &ActivateOpenDialog;
    services.calendarSearchText = [] { return static_cast<const char*>(CurrentCalendarOptions().filterText); };
    services.calendarWindow = &GetCalendarWindow;
    services.openGroupHotkeySettings = [](int groupId) {
        const int hotkeysPage = 2;
        if (CWindowController* app = GetWindowController())
            app->RunSettingsSheet(hotkeysPage, groupId);
    };
    SetNoteManagerServices(services);
    // The calendar's settings check its hotkey against the program's others.
    CalendarHotkeyServices hotkeys;
    hotkeys.askForKeys = &AskForKeys;
    hotkeys.readHotkeys = &ReadProgramHotkeys;
    hotkeys.checkConflict = &CheckHotkeyConflict;
    SetCalendarHotkeyServices(hotkeys);
}
