#include <winsock2.h>

#include "shell/ProgramParts.h"

#include "net/NetworkNoteStrips.h"
#include "note/NoteCreation.h"
#include "note/NoteFavouritesMenu.h"
#include "note/NoteStrips.h"
#include "notemanager/NoteManagerEntry.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWindow.h"
#include "shell/OpenDialogs.h"
#include "shell/WindowController.h"
#include "shell/Favourites.h"
#include "store/NoteMaking.h"

void ConnectProgramParts()
{
    // The tables describe notes; the note side makes them.
    SetNoteMaker(&CreateNote);
    // Note windows host the chat and send strips of the network side.
    SetNoteStrips(&NetworkNoteStrips());
    // A note's favourites menu opens the shell's favourites folder.
    SetFavouritesOrganizer(&OrganizeFavourites);
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
}
