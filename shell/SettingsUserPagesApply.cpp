// What the Note and Security pages changed, put into effect in the running
// program: the auto-save countdown restarted, the menus' look and the notes'
// link detection changed, the notes and the calendar taking the settings
// again, open protected notes masked again.
#include <winsock2.h>
#include <windows.h>
#include <richedit.h>

#include "calendar/CalendarWindow.h"
#include "note/NoteMessages.h"
#include "note/ProtectedNotes.h"
#include "shell/NoteLists.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/SettingsPageData.h"
#include "shell/WindowController.h"

void CWindowController::FollowUserPages(const UserPagesChanges& changes)
{
    if (changes.saveInterval) {
        m_autoSaveMinutes = 0;
        m_autoSaveSeconds = 0;
    }
    if (changes.menuStyle)
        ChooseMenuLook();
    const BOOL detectLinks = ConfigSettings().quickLaunch ? TRUE : FALSE;
    if (changes.quickLaunch) {
        ForEachNote(m_ourNotes, [&](CNoteController* note) {
            if (note->m_bodyEdit)
                SendMessageA(note->m_bodyEdit, EM_AUTOURLDETECT, detectLinks, 0);
            return true;
        });
    }
    RefreshAllNotes();
    if (changes.maskProtectedNotes)
        MaskProtectedNotes(*this, nullptr);
}

void CWindowController::RefreshAllNotes()
{
    ForEachNote(m_ourNotes, [](CNoteController* note) {
        if (note->m_hidden || !note->m_window)
            return true;
        ReapplyNoteSettings(note->m_window);
        // Taking its settings again puts a note that does not stay on top
        // among the other windows; one the program raised keeps its place.
        if (note->m_raised && !note->m_stayOnTop)
            SetWindowPos(note->m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        SendMessageA(note->m_window, WM_NCPAINT, 1, 0);
        return true;
    });
    NotifyCalendarSettingsChanged(GetCalendarWindow());
}
