#include <winsock2.h>

#include "shell/WindowController.h"

#include "foundation/Clock.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteController.h"
#include "note/NoteCreation.h"
#include "notemanager/NoteManagerGroupMembers.h"
#include "shell/NoteCreationReports.h"
#include "store/NoteSaving.h"

// A copy of the note as a new note, shown beside the others: its text,
// title, looks, size and alarm. The copy is the note the creation made (a
// refused creation tells nobody); it is stored at once, joining the source's
// group when it has one. A copy that cannot be stored yet (another program
// holds a file of the notes) keeps its modified mark, and the group waits
// for it: the command that asked for the copy keeps it in the rescue backup
// as it ends.
CNoteController* CWindowController::DuplicateNote(CNoteController& source)
{
    if (source.m_window)
        source.SyncFromWindow();
    NoteDescription description;
    description.packed = source.m_packed;
    description.styleMode = source.m_backgroundKind;
    description.textureId = static_cast<WORD>(source.m_textureId);
    description.textureStretch = source.m_textureStretch;
    description.transparency = source.Transparency();
    description.stayOnTop = source.m_stayOnTop;
    description.border = source.m_border;
    description.showDate = source.m_showDate;
    description.x = source.m_left + 20;
    description.y = source.m_top + 20;
    description.width = source.m_width;
    description.height = source.m_height;
    description.bodyColor = source.m_bodyColor;
    description.textColor = source.m_textColor;
    description.titleColor = source.m_titleColor;
    description.titleTextColor = source.m_titleTextColor;
    description.bodyFont = &source.m_bodyFont;
    description.titleFont = &source.m_titleFont;
    description.title = source.m_title;
    description.userId = source.m_userId;
    description.created = GetLocalNow();
    description.text = source.RichText().data();
    description.textLength = static_cast<DWORD>(source.RichText().size());
    description.alarmSet = source.m_alarmSet;
    description.alarm = source.m_alarm;
    description.alarmRecurring = source.m_alarmRecurring;
    description.alarmValue = source.m_alarmValue;
    description.alarmUnit = source.m_alarmUnit;
    description.alarmStopMinutes = source.m_stopAfterMinutes;
    CNoteController* copy = CreateReporting(m_mainWindow, [&] { return CreateNote(description); });
    if (!copy)
        return nullptr;
    copy->m_protected = source.m_protected;
    copy->m_passwordText = source.m_passwordText;
    AdoptNewNote(copy);
    copy->SetModified();
    if (copy->m_window) {
        ShowWindow(copy->m_window, SW_SHOWNOACTIVATE);
        SetWindowPos(copy->m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    const int group = source.FindGroupId(-1);
    if (group >= 0) {
        AssignToGroup(*copy, static_cast<DWORD>(group));
    } else {
        copy->SyncFromWindow();
        SaveNote(*copy);
    }
    UpdateTrayTooltip();
    return copy;
}
