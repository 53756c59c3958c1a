// The main window's commands and messages about the desktop notes, and the
// desktop's start and end with the main window.
#include <winsock2.h>

#include "note/NoteController.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteLists.h"
#include "shell/NoteManagerFiles.h"
#include "globals/ProgramGlobals.h"
#include "shell/WindowController.h"

namespace {
// The tray menu's commands on notes.
enum DesktopCommand : UINT {
    kNewNote = 4012,
    kHideAlarmed = 4014,
    kHideAll = 4015,
    kBringToFront = 4026,
    kShowAll = 4027,
    kShowAlarmed = 4050,
    kShowHidden = 4051,
    kParkAll = 4085,
    kCascadeByDate = 4089,
    kCascadeByTitle = 4090,
    kUnarrange = 4091,
    kCascadeByColour = 4092,
    kCascadeByColourTitle = 4093,
    kTileByDate = 4094,
    kTileByTitle = 4095,
    kTileByColour = 4096,
    kTileByColourTitle = 4097,
    kUndeleteAll = 4343,
    kFirstDeleted = 3800,
    kLastDeleted = 3815,
};
}

// Park puts every shown note away at once. Used again, it brings back the
// parked notes that are not hidden and shows the note used last.
void CWindowController::ToggleParkAll()
{
    if (HasParkedNote()) {
        CNoteController* firstBack = nullptr;
        CNoteController* last = LastNote();
        bool lastIsBack = false;
        ForEachNote(m_ourNotes, [&](CNoteController* note) {
            if (!note->m_parked)
                return true;
            // A note hidden while it was parked stays hidden, but parked no
            // longer: a parked note makes the other bulk commands refuse.
            note->m_parked = false;
            if (note->m_hidden || !note->m_window)
                return true;
            ShowWindow(note->m_window, SW_RESTORE);
            if (!note->m_rolledUp)
                note->UpdateScrollArrows(true);
            RedrawWindow(note->m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
            firstBack = firstBack ? firstBack : note;
            lastIsBack = lastIsBack || note == last;
            return true;
        });
        // The note used last comes forward when it is one of those brought
        // back; a note the user hid stays hidden.
        if (firstBack)
            ShowLastNote(lastIsBack ? last : firstBack);
        return;
    }
    bool anyShown = false;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        anyShown = !note->m_hidden;
        return !anyShown;
    });
    if (!anyShown) {
        MessageBeep(0);
        return;
    }
    ProgramFlags& flags = GetProgramFlags();
    flags.bulkOperation = true;
    ForEachNote(m_ourNotes, [](CNoteController* note) {
        if (!note->m_hidden)
            note->HideQuietly();
        return true;
    });
    flags.bulkOperation = false;
}

bool CWindowController::OnDesktopCommand(UINT id)
{
    ProgramFlags& flags = GetProgramFlags();
    switch (id) {
    case kNewNote:
        CreateDefaultNote();
        return true;
    case kHideAlarmed:
        HideAlarmedNotes();
        return true;
    case kHideAll:
        flags.bulkOperation = true;
        HideAllNotes();
        flags.bulkOperation = false;
        UpdateTrayTooltip();
        return true;
    case kBringToFront:
        BringNotesToFront(false, false, nullptr);
        return true;
    case kShowAll:
        ShowAllNotes();
        return true;
    case kShowAlarmed:
        ShowAlarmedNotes();
        return true;
    case kShowHidden:
        ShowNotesMatching(false, false, false, nullptr);
        UpdateTrayTooltip();
        return true;
    case kParkAll:
        ToggleParkAll();
        UpdateTrayTooltip();
        return true;
    case kCascadeByDate:
    case kCascadeByTitle:
    case kCascadeByColour:
    case kCascadeByColourTitle:
        flags.bulkOperation = true;
        Cascade(id == kCascadeByDate ? 0 : id == kCascadeByTitle ? 1 : id == kCascadeByColour ? 2 : 3);
        flags.bulkOperation = false;
        return true;
    case kTileByDate:
    case kTileByTitle:
    case kTileByColour:
    case kTileByColourTitle:
        Tile(static_cast<int>(id - kTileByDate));
        return true;
    case kUnarrange:
        Unarrange();
        return true;
    case kUndeleteAll:
        UndeleteAllNotes();
        return true;
    default:
        if (id >= kCmdFirstHiddenNote && id <= kCmdLastHiddenNote) {
            ShowNthHiddenNote(static_cast<int>(id - kCmdFirstHiddenNote));
            return true;
        }
        if (id >= kFirstDeleted && id <= kLastDeleted) {
            UndeleteNote(static_cast<int>(id - kFirstDeleted), nullptr);
            return true;
        }
        return false;
    }
}

bool CWindowController::OnDesktopMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    // Explorer started again: the icon goes back into the new tray.
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (taskbarCreated && message == taskbarCreated) {
        m_trayIcon.Add(m_mainWindow, "Quillnet+");
        UpdateTrayTooltip();
        return true;
    }
    switch (message) {
    case WM_HOTKEY:
        OnHotKey(wParam);
        return true;
    case kMsgTrayCallback:
        OnTrayNotify(wParam, lParam);
        return true;
    case kMsgUpdateTrayTooltip:
        UpdateTrayTooltip();
        return true;
    case kMsgReceivedNoteRead:
        OnReceivedNoteRead();
        return true;
    case kMsgRefreshAppTracking:
        TrackAssociatedApps(1);
        return true;
    case kMsgForgetNoteLinks:
        ForgetNoteGroupsAndApps(static_cast<DWORD>(lParam));
        TrackAssociatedApps(1);
        return true;
    default:
        return OnControllerMessage(message, wParam, lParam, result);
    }
}

void CWindowController::StartDesktop()
{
    m_trayIcon.LoadIcons(m_instance, CTrayIcon::kNormalIconId, CTrayIcon::kAlternateIconId);
    m_trayIcon.Add(m_mainWindow, "Quillnet+");
    UpdateTrayTooltip();
    TrackAssociatedApps(1);
}

void CWindowController::StopDesktop()
{
    if (m_appTrackingTimer) {
        KillTimer(m_mainWindow, kTimerAppTracking);
        m_appTrackingTimer = 0;
    }
    m_trayIcon.Remove(m_mainWindow);
}
