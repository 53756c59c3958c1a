// What the Note and Security pages changed, put into effect in the running
// program: the auto-save countdown restarted, the menus' look and the notes'
// link detection changed, the notes redrawn, open protected notes masked
// again.
#include <winsock2.h>
#include <windows.h>
#include <richedit.h>

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
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (changes.quickLaunch && note->m_bodyEdit)
            SendMessageA(note->m_bodyEdit, EM_AUTOURLDETECT, detectLinks, 0);
        if (note->m_window && IsWindowVisible(note->m_window))
            RedrawWindow(note->m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return true;
    });
    if (changes.maskProtectedNotes)
        MaskProtectedNotes(*this, nullptr);
}
