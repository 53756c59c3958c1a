#pragma once

#include <windows.h>

#include "resources/ids/TrayMenuIds.h"

// The main window's private messages, with small senders for those the rest
// of the program uses, so that a search for the name finds sender and handler.
// The deleted-record messages of the notes and transaction tables are
// declared with their lists (store/bytes/DeletedRecordList.h).
enum MainWindowMessage : UINT {
    kMsgTrayCallback = 0x8064,
    kMsgCloseProgram = 0x8066,
    kMsgFocusPreviousNote = 0x8069,
    kMsgInsertOtherNote = 0x806B,
    kMsgInsertOwnNote = 0x806C,
    kMsgOpenTrayMenu = 0x8074,
    kMsgFocusNextNote = 0x8075,
    kMsgUpdateTrayTooltip = 0x8079,
    kMsgNoteIsTransmitting = 0x807D,   // sent to notes
    kMsgRemoveVisibleNote = 0x807E,
    kMsgBroadcastSearch = 0x8086,
    kMsgNoteAfter = 0x8088,
    kMsgClearSelections = 0x8089,
    kMsgRememberLastNote = 0x808B,
    kMsgReceivedNoteRead = 0x808D,
    kMsgMessageReceived = 0x808F,
    kMsgFavouritesChanged = 0x8091,
    kMsgOpenProtectedNote = 0x8092,
    kMsgAskNotePassword = 0x8093,
    kMsgRefreshAppTracking = 0x8095,
    kMsgOpenPasswordRecovery = 0x8098,
    kMsgDuplicateNote = 0x809B,
    kMsgKeepDeletedNote = 0x809C,
    kMsgUndeleteNote = 0x809F,
    kMsgCreateNoteAtPoint = 0x80A1,
    kMsgHasAlarmOnDate = 0x80A4,
    kMsgRefreshCalendar = 0x80A5,
    kMsgNewAlarmNote = 0x80A7,
    kMsgOpenNoteManager = 0x80A8,  // lParam: the alarm day as yyyymmdd, 0 for none
    kMsgMaskProtectedNotes = 0x80AA,
    kMsgHasChatNote = 0x80B6,
    kMsgFocusNoteByWindow = 0x80BA,
    kMsgIsBusySaving = 0x80BB,
    kMsgShowCalendar = 0x80BE,
    kMsgShowNoteManager = 0x80BF,
    kMsgForgetNoteLinks = 0x80C0,  // lParam: the id of a deleted note
    // Posted to itself: the end of the session was refused for changes not
    // stored, and the user is asked once the refusal has been answered.
    kMsgAskUnstoredAtEnd = 0x80C1,
    // Posted to itself: the end of the session was refused while a note was
    // being sent or the notes saved (wParam says which), and the user is told
    // once the refusal has been answered.
    kMsgTellBusyAtEnd = 0x80C2,
    // Posted to itself: a forced end of the session was answered, and the
    // work that keeps nothing of the user's follows.
    kMsgFinishSessionEnd = 0x80C8,
};

// Commands of the tray menu and of other windows (WM_COMMAND).
enum MainWindowCommand : UINT {
    kCmdAbout = ID_TRAY_ABOUT,
    kCmdExit = ID_TRAY_EXIT,
    kCmdHelp = ID_TRAY_HELP,
    kCmdNewNote = ID_TRAY_NEW_NOTE,
    kCmdHideAlarmed = ID_TRAY_HIDE_ALARMED,
    kCmdHideAll = ID_TRAY_HIDE_ALL,
    kCmdBringToFront = ID_TRAY_BRING_TO_FRONT,
    kCmdShowAll = ID_TRAY_SHOW_ALL,
    kCmdShowAlarmed = ID_TRAY_SHOW_ALARMED,
    kCmdShowHidden = ID_TRAY_SHOW_HIDDEN,
    kCmdSettings = ID_TRAY_SETTINGS,
    kCmdBackupAll = ID_TRAY_BACKUP_ALL,
    kCmdUnrestore = ID_TRAY_UNRESTORE,
    kCmdParkAll = ID_TRAY_PARK_ALL,
    kCmdUnarrange = ID_TRAY_UNARRANGE,
    kCmdFindNote = ID_TRAY_FIND_NOTE,
    kCmdShowAssociated = ID_TRAY_SHOW_ASSOCIATED,
    kCmdNoteManager = ID_TRAY_NOTE_MANAGER,
    kCmdUndeleteAll = ID_TRAY_UNDELETE_ALL,
    kCmdCalendar = ID_TRAY_CALENDAR,
    // Entries added to submenus as they open: the backups of the Restore
    // submenu, the hidden notes of Show notes, the deleted notes of Undelete.
    kCmdFirstBackup = ID_TRAY_FIRST_BACKUP,
    kCmdLastBackup = 3100,
    // The rescue backups of the Restore submenu, newest first.
    kCmdFirstRescueBackup = 3200,
    kCmdLastRescueBackup = 3209,
    // A greyed line of the Restore submenu that says why backups are missing.
    kCmdBackupsMissingLine = 3210,
    kCmdFirstHiddenNote = 3400,
    kCmdLastHiddenNote = 3500,
    kCmdFirstDeletedNote = 3800,
    kCmdLastDeletedNote = 3815,
};

// Timers of the main window.
enum MainWindowTimer : UINT_PTR {
    kTimerHousekeeping = 20000,
    kTimerTrayFlash = 20001,
    kTimerTrayAddRetry = 20002,
    kTimerTrayDrag = 20003,
    kTimerAppTracking = 20005,
    // Once, when the notes are up and painted: the start-up work that nothing
    // shown depends on.
    kTimerStartFinish = 20006,
};

// The main window of the running program; null before it exists and after it
// is gone (the main window sets it).
HWND GetMainWindow();
void SetMainWindow(HWND window);

// The notes' alarms changed (an alarm set, moved or off, a note's group, a
// restore): an open calendar marks its days anew.
inline void TellCalendarAlarmsChanged(HWND main)
{
    if (main)
        PostMessageA(main, kMsgRefreshCalendar, 0, 0);
}
inline LRESULT IsMainWindowBusySaving(HWND main)
{
    return SendMessageA(main, kMsgIsBusySaving, 0, 0);
}
// A deleted note's groups and associations go, and their files are rewritten.
inline void ForgetDeletedNoteLinks(HWND main, DWORD noteId)
{
    SendMessageA(main, kMsgForgetNoteLinks, 0, static_cast<LPARAM>(noteId));
}
// The password prompt's link: the maker's password-recovery page opens.
inline void OpenPasswordRecoveryFrom(HWND main)
{
    SendMessageA(main, kMsgOpenPasswordRecovery, 0, 0);
}
inline LRESULT IsNoteTransmitting(HWND note)
{
    return SendMessageA(note, kMsgNoteIsTransmitting, 0, 0);
}
