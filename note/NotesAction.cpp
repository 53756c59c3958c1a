#include "note/NotesAction.h"

#include "note/NoteKeeper.h"
#include "store/NoteSaving.h"

CNotesAction::CNotesAction()
    : m_heldFilesMetOnce(HeldFileWork::kAction), m_failedSavesBefore(FailedNoteSaves())
{
}

CNotesAction::~CNotesAction()
{
    INoteKeeper* keeper = GetNoteKeeper();
    if (keeper && FailedNoteSaves() != m_failedSavesBefore)
        keeper->KeepUnstoredChanges();
}
