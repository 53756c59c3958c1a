// The note's ties to other programs' windows.
#include "note/NoteController.h"
#include "noteprops/AppAssociationsFile.h"
#include "noteprops/AssocDialog.h"
#include "globals/MainWindowMessages.h"
#include "store/NoteSaving.h"

namespace {
// The Note Manager owns the dialog while it is open and not minimised.
HWND DialogOwner()
{
    HWND manager = FindWindowA(nullptr, "Quillnet+ Note Manager");
    if (manager && !IsIconic(manager))
        return manager;
    return GetForegroundWindow();
}
}

int CNoteController::AssociateWith(int, int askDialog)
{
    // An association names the note by its record: a note never saved gets
    // one first, with the text on the screen, which the save marks as stored.
    if (!IsStoredNoteId(m_noteId)) {
        SyncFromWindow();
        if (!SaveNote(*this) || !IsStoredNoteId(m_noteId))
            return 0;
    }
    if (askDialog && !RunAssocDialog(DialogOwner(), m_noteId))
        return 0;
    SaveAppAssociations();
    if (HWND main = GetMainWindow())
        SendMessageA(main, kMsgRefreshAppTracking, 0, 0);
    return 1;
}
