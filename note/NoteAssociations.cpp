// The note's ties to other programs' windows.
#include "note/NoteController.h"

#include <string>

#include "foundation/bytes/MessageBoxes.h"
#include "noteprops/AppAssociationsFile.h"
#include "noteprops/AssocDialog.h"
#include "globals/MainWindowMessages.h"
#include "store/FileStepRetries.h"
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

bool CNoteController::StoredForAssociation(bool othersLeft)
{
    if (IsStoredNoteId(m_noteId))
        return true;
    // The files this save finds held are named in the box.
    CHeldFilesMetOnce thisSave(HeldFileWork::kPartOfWorkUnderWay);
    SyncFromWindow();
    if (SaveNote(*this) && IsStoredNoteId(m_noteId))
        return true;
    const std::string held = thisSave.HeldFilesText();
    std::string text = "The note could not be associated with applications, since it could not be saved first; ";
    text += held.empty() ? "the reasons are in error.txt." : held + "\r\n\r\nPlease close that program and try again.";
    if (othersLeft)
        text += "\r\n\r\nThe notes selected after it were not associated either.";
    ShowWarningMessage(DialogOwner(), text.c_str(), ProgramTitle);
    return false;
}

int CNoteController::AssociateWith(int, int askDialog)
{
    if (!StoredForAssociation(false))
        return 0;
    if (askDialog && !RunAssocDialog(DialogOwner(), m_noteId))
        return 0;
    SaveAppAssociations();
    if (HWND main = GetMainWindow())
        SendMessageA(main, kMsgRefreshAppTracking, 0, 0);
    return 1;
}
