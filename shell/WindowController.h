#pragma once

#include <winsock2.h>
#include <windows.h>

#include <vector>

#include "foundation/PtrList.h"
#include "foundation/DateTime.h"
#include "foundation/win/CoolMenu.h"
#include "globals/ProgramFlags.h"
#include "net/PortListener.h"
#include "note/NoteKeeper.h"
#include "shell/BackupRestore.h"
#include "shell/RescueBackup.h"
#include "shell/RescueOffer.h"
#include "shell/RestoreSubmenu.h"
#include "shell/TrayIcon.h"
#include "shell/UnstoredChanges.h"
#include "store/DbfFile.h"

class CNoteController;
struct CReceivedMessage;
struct NoteSearchRequest;

// The application object behind the hidden main window: it owns the lists of
// note objects (the notes' keeper) and the tables whose deleted records it
// serves, loads the user's data when the window is created, saves it when the
// program closes or the Windows session ends, and reloads it after a restore.
class CWindowController : public INoteKeeper {
public:
    CWindowController(HWND mainWindow, const CREATESTRUCTA& creation);
    ~CWindowController();
    CWindowController(const CWindowController&) = delete;
    CWindowController& operator=(const CWindowController&) = delete;

    void OnCreate();
    // The unload before a restore replaces the data, and the reload after it.
    void Teardown();
    void Reinitialize();
    // While set the tables are being replaced: the teardown saves nothing,
    // and a close that comes meanwhile (from a box shown on the way) waits
    // until the flag is cleared, then closes as usual.
    void SetRestoreInProgress(bool inProgress);
    bool IsRestoreInProgress() const { return m_restoreInProgress != 0; }
    void DeferClose() { m_closeDeferred = true; }
    // Every note, the ties of restored notes, the destinations, the delivery
    // records and the user's values of this run. Never throws: a file that
    // cannot be written keeps none of the others from being written, and the
    // outcome tells which could not be and what is still only in memory. At
    // an end, a change not stored yet goes into the rescue backup before the
    // save (which deletes it again once it has stored everything), and a
    // file step that fails all its tries is not tried again in that save.
    enum class UnstoredNotes { kStayInMemory, kIntoRescueBackup };
    SaveAllOutcome SaveAll(UnstoredNotes unstored = UnstoredNotes::kStayInMemory);
    // Saves, stops timers and hotkeys and closes every note (WM_CLOSE,
    // Teardown, which saves nothing). False, with nothing stopped, when a
    // change could not be stored and the user chose not to end (or is being
    // asked): the program then runs on, so that nothing is lost.
    bool Shutdown();
    // Frees what the object owns (WM_DESTROY).
    void ReleaseMembers();
    // Neither port takes notes or chats any more.
    void StopListeningOnBothPorts();

    // Non-zero refuses the end of the Windows session; a critical end is
    // never refused.
    int OnQueryEndSession(bool critical);
    // Saves and stops the work for the end of the session. A change that
    // could not be stored goes into the rescue backup; then, unless the end
    // is forced, false: the session must not end without it, and the user is
    // asked once the refusal has been answered. A forced end answers before
    // the work that keeps nothing of the user's (FinishSessionEnd).
    bool OnEndSession(bool forced);
    // The session ends now (WM_ENDSESSION with TRUE), also after a refusal:
    // what is not stored goes into the rescue backup, and the store is tried
    // once more.
    void OnSessionEnds();
    // The session goes on after all (WM_ENDSESSION with FALSE): work resumes.
    void OnEndSessionCancelled();
    // What the end of the session does once the user's work is kept: the
    // listeners' stop, the automatic backup, the Send To shortcuts and the
    // temporary files. After the answer when the end is forced; nothing when
    // it was done or the session went on.
    void FinishSessionEnd();

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    // The modal General settings sheet, opened on the page; returns 0.
    int RunSettingsSheet(int startPage, int groupId);
    // What the sheet's pages accepted: saved, then put into effect at once.
    void ApplySettingsSheet(struct SettingsSheetPages& pages);
    // A second start's request; unsafe data is ignored.
    void OnCopyData(WPARAM flag, const COPYDATASTRUCT* data);
    // Private messages; false for a message that is not one of them.
    bool OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The tray menu, as for a right click on the tray icon (0x8074): with
    // position mode 2 where the last one opened, else beside the pointer; a
    // non-zero mode puts the menu's bottom right corner there (the icon's own
    // click passes its icon id). An open dialog of the program comes forward
    // instead.
    void ShowTrayMenu(WPARAM positionMode);
    void OnInitMenuPopup(HMENU menu);
    void OnMeasureItem(MEASUREITEMSTRUCT* measure);
    void OnDrawItem(const DRAWITEMSTRUCT* draw);

    HWND GetWindow() const { return m_mainWindow; }
    // The notes kept in a file when changes cannot be stored.
    CRescueBackup& Rescue() { return m_rescueBackup; }
    bool IsBusySaving() const { return m_busySaving != 0; }
    CPtrList& OwnNotes() override { return m_ourNotes; }
    CPtrList& OtherNotes() override { return m_otherNotes; }

    // Removes the note from the own list and moves the last-note mark to a
    // neighbour.
    void DeleteNoteFromVisibleList(CNoteController* note);
    // Takes a note made by the program (a new note, an intro note) into the
    // right list.
    void AdoptNote(CNoteController* note) override;
    void AdoptNewNote(CNoteController* note) override;
    // The open Note Manager lists the note, one of the user's that is new.
    void ListInOpenNoteManager(CNoteController* note);

    // The desktop notes (shell/DesktopNotes*.cpp, Tray*.cpp, Arrange*.cpp, Timers*.cpp).
    // The note used last, while it is still one of the live notes; null once
    // it was deleted or has gone.
    CNoteController* LastNote() const override;
    // A note going away is forgotten as the last one used.
    void ForgetNote(CNoteController* note) override;
    // Creates a note with the user's defaults and takes it into the lists;
    // null when none was made (the user was told why).
    CNoteController* CreateDefaultNote();
    CNoteController* CreateNoteInStyle(int styleIndex);
    CNoteController* CreateNoteWithText(bool force, LONG x, LONG y, const char* text, DWORD length);
    CNoteController* OnNewNoteRequest(const char* data, DWORD size);
    // False when a note could not be saved, or the memo file asked to be
    // rebuilt was not: the next save of all notes rebuilds it then.
    bool SaveAllNotes(bool rebuildMemo) override;
    // In the same rescue backup as a timed save's, renewed the same way.
    void KeepUnstoredChanges() override;
    // The tray icon: put in the tray with the main window, removed at its end.
    void StartDesktop();
    void StopDesktop();
    // Park puts every shown note away at once; used again, it brings them back.
    void ToggleParkAll();
    // Commands and messages of the desktop notes; false when not one of them.
    bool OnDesktopCommand(UINT id);
    bool OnDesktopMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnTimer(UINT_PTR id);
    void OnHousekeepingTimer();
    // Notes that follow other programs' windows: a tick of timer 20005
    // (allowStart 0), or a refresh after the associations changed (1), which
    // starts the timer; the timer stops when no association is left.
    void TrackAssociatedApps(int allowStart);
    // A received note was read: the flashing stops once none is left unread.
    void OnReceivedNoteRead();
    void UpdateTrayTooltip();
    void OnTrayNotify(WPARAM wParam, LPARAM lParam);
    // Showing, hiding and undeleting.
    int BringNotesToFront(bool onlyAlarmed, bool byAssociation, const char* title);
    int ShowNotesMatching(bool onlyAlarmed, bool parkedOnly, bool byAssociation, const char* title);
    void ShowAllNotes();
    void ShowAssociatedNotes();
    void ShowAlarmedNotes();
    void HideAllNotes();
    void HideAlarmedNotes();
    void ShowLastNote(CNoteController* note);
    void ShowNote(CNoteController* note, bool activate) override;
    // The n-th hidden own note (from 0, in list order, as the Show notes
    // submenu lists them) shown and activated; nothing when there are fewer.
    void ShowNthHiddenNote(int n);
    // Every own note that is not hidden takes the settings again and
    // repaints its frame; so does the open calendar.
    void RefreshAllNotes();
    void RaiseDueNotes();
    // A locked note opened (or its password asked, in the searching prompt
    // when searching) with the protected-note prompt flag held; an opened
    // note's rich edits are laid out again.
    int OpenLockedNote(CNoteController& note) override;
    int AskLockedNotePassword(CNoteController& note, int relayout, int searching);
    // Notes of an associated window that went away or was minimised.
    void HideNotesAssociatedWithWindow(const char* title);
    void HideNoteById(DWORD id);
    void UndeleteAllNotes();
    void UndeleteNote(int index, CNoteController* note);
    // A copy of the note as a new note (the Note Manager's Duplicate); null
    // when the creation was refused.
    CNoteController* DuplicateNote(CNoteController& source);
    bool HasParkedNote() const;
    bool HasHiddenAlarmedNote() const;
    bool HasShownAlarmedNote() const;
    CNoteController* FindPendingReceivedNote();
    // Arranging.
    void Cascade(int order);
    void Tile(int order);
    void Unarrange();
    bool HasArrangement() const;
    void ForgetArrangement();

    // System-wide hotkeys and the small commands (shell/Hotkey*.cpp, ControllerCommands.cpp).
    void OnHotKey(WPARAM id);
    // A note for a hotkey: at the pointer when the user wants it there.
    CNoteController* CreateHotkeyNote();
    // A new note with its alarm page open; the clipboard's content is pasted
    // into it unless skipPaste is set.
    void NewNoteWithAlarm(bool skipPaste, const CDateTime* proposedDay);
    void FindNote();
    // Help at the topic of the tray submenu that is open (WM_HELP).
    void OnHelp();
    // A note's search passed on to the other own notes (shell/SearchBroadcast.cpp).
    void BroadcastSearch(NoteSearchRequest& request, const CNoteController* sender);
    void ShowCalendarCommand();
    void ShowNoteManagerCommand();
    // The calendar's question for a day cell: 1 when an own note has its alarm
    // that day and holds the calendar's filter text (when there is one).
    int HasAlarmNoteOnDate(int day, int month, int year);
    // A participant left the chat: 1 when an own chat note has that chat id
    // (its participant is then marked as gone).
    int NotifyParticipantLeft(DWORD chatId, const char* computer, const char* address, DWORD port);
    void UpdateNoteAttachmentLine(CNoteController& note);
    // Commands of the small controller commands; false when not one of them.
    bool OnControllerCommand(UINT id);
    // Backup and restore commands of the tray menu; false when not one of them.
    bool OnBackupCommand(UINT id);
    CRestoreState& RestoreState() { return m_restoreState; }
    void BackupFromCommandLine(const COPYDATASTRUCT* request);
    // The backup the user wants at every end of the program.
    void BackupIfAutomatic();
    bool OnControllerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A message read on port 1 or 2 becomes a stored note, or goes to the chat
    // code (shell/WindowControllerReceive.cpp); false when it was not kept.
    bool OnNoteReceived(int portNumber, const CReceivedMessage& message);
    // Makes the user's note of a received message, remembers its sender and
    // announces it once a file holds it: the notes table or, when that cannot
    // take it, the rescue backup. Null when no note was made or kept.
    CNoteController* ParseReceivedNote(const CReceivedMessage& message, const CPortRecord& port);
    // Requests of a second start: a note sent or appended (shell/CommandLineActions.cpp).
    void SendFromCommandLine(const COPYDATASTRUCT* request, int mode);
    void AppendFromCommandLine(const COPYDATASTRUCT* request, WPARAM kind);

private:
    // The eight owner-drawn menus: the tray menu and its submenus.
    enum TrayMenuIndex {
        kTrayPopup,
        kUndeleteMenu,
        kShowNotesMenu,
        kBackupMenu,
        kRestoreMenu,
        kArrangeMenu,
        kCascadeMenu,
        kTileMenu,
        kMenuCount
    };
    void MakeOwnerDrawn(CCoolMenu& cool, HMENU menu);
    void BuildPopupMenu(HMENU popup);
    void BuildNotesMenu(HMENU menu);
    void BuildUndeleteMenu(HMENU menu);
    void BuildBackupListMenu(HMENU menu);
    void BackupToUnrestoreMenu(HMENU menu);
    CCoolMenu* OpenMenu();
    void LoadUserData();
    void ChooseMenuLook();
    void ApplyUserDisplaySettings();
    void StartTimers();
    void StopTimers();
    void FinishStart();
    void StartListening();
    bool ListenOrReport(int index);
    // The listeners follow the network switch and the ports of the settings.
    void MoveListeners(const class CUserSettings& before);
    // The auto-save countdown, the menus and the notes follow the Note and Security pages.
    void FollowUserPages(const struct UserPagesChanges& changes);
    void FocusFirstShownNote();
    void ExitCommand();
    bool AnyNoteTransmitting() const;
    // The work during which the session may not end now.
    enum class BusyWork : WPARAM { kNone, kTransmitting, kAutoSaving };
    BusyWork BusyNow();
    void TellBusy(BusyWork work);
    // Tells the user of the work that keeps the program from ending now; true
    // when there is such work.
    bool RefuseWhileBusy();
    // The end of the session was refused for that work: the user is told now,
    // outside the system's question.
    void TellBusyAfterRefusal(WPARAM work);
    // A note that lives only in memory.
    bool HasUnstoredChanges() const;
    // A note, or a tie of a restored note, that lives only in memory.
    bool ChangesUnstoredNow() const;
    // The end of the session's work, started from the system's question;
    // false, with the work going on, when it did not end.
    bool EndSessionNow(bool forced);
    // Every note, with what its window shows taken into it.
    std::vector<CNoteController*> NotesAsShown();
    // At an end, before anything that may wait or ask: the notes into the
    // rescue backup when a change is not stored (taken from their windows
    // first, unless that was just done).
    void KeepUnstoredBeforeEnd(bool notesTakenFromWindows);
    // Saves everything for the end: true when nothing is left unstored, or
    // when the user, asked, chose to end anyway and the notes went into a
    // backup file first.
    bool SavedForEnd();
    bool EndAnywayChosen(const SaveAllOutcome& saved);
    // The end of the session was refused for changes not stored: the user is
    // asked now, outside the system's question.
    void AskAfterRefusedSessionEnd();
    void NewNoteCommand();
    LRESULT NoteAfter(CNoteController* note) const;
    CNoteController* KnownNote(LPARAM lParam) const;
    void FocusNote(CNoteController* note);
    void FocusNeighbour(CNoteController* note, bool earlier);
    // The notes saved, the memo file rebuilt when asked; a rebuild that could
    // not be made is owed to the next save of all notes.
    bool SaveNotesOwingRebuild(const std::vector<CNoteController*>& notes, bool rebuild);

    DWORD m_busySaving = 0;
    CCoolMenu m_menus[kMenuCount];
    CRestoreSubmenu m_restoreSubmenu;
    CPtrList m_ourNotes{"OurNotesList"};
    CPtrList m_otherNotes{"OtherNotesList"};
    CPtrList m_fataPalida{"FataPalidaList"};
    void* m_lastNote = nullptr;
    HWND m_mainWindow;
    HINSTANCE m_instance;
    WORD m_autoSaveMinutes = 0;
    WORD m_autoSaveSeconds = 0;
    DWORD m_restoreInProgress = 0;
    bool m_closeDeferred = false;
    UINT_PTR m_housekeepingTimer = 0;
    DWORD m_trayFlashing = 0;
    UINT_PTR m_appTrackingTimer = 0;
    bool m_trackingApps = false;  // a tick is being handled
    HMENU m_submenus[kMenuCount] = {};
    DWORD m_openPopup = 0;
    POINT m_trayMenuPoint{};  // where the tray menu opened last
    CPortRecord m_ports[2];
    CTrayIcon m_trayIcon;
    CRestoreState m_restoreState;
    CDateTime m_lastFullSave;
    bool m_lastFullSaveKnown = false;
    int m_failedTimedSaves = 0;  // timed saves that failed in a row
    bool m_userValuesFailureTold = false;
    // The question about changes not stored is up: a close asked for meanwhile
    // waits for its answer.
    bool m_askingAtEnd = false;
    // The word about a refusal for busy work is up: another waits for none.
    bool m_tellingBusy = false;
    // The user chose to end with changes not stored; their backup is written.
    bool m_endingAnyway = false;
    SaveAllOutcome m_unstoredAtSessionEnd;
    // The end of the session's work that keeps nothing of the user's is
    // still to come (after the answer to a forced end).
    bool m_sessionEndToFinish = false;
    // The end of the session stopped the listeners: a session that goes on
    // starts them again.
    bool m_listenersStoppedAtEnd = false;
    CRescueBackup m_rescueBackup;
    // The word about the changes an earlier run could not store.
    CRescueOffer m_rescueOffer;
    // A rebuild of the memo file failed: it may still hold the plain text of
    // a note locked since, so every save of all notes rebuilds until one works.
    bool m_memoRebuildOwed = false;
};

// Holds the application object's restore flag for the life of a scope.
class CRestoreInProgress {
public:
    explicit CRestoreInProgress(CWindowController& app) : m_app(app) { m_app.SetRestoreInProgress(true); }
    ~CRestoreInProgress() { m_app.SetRestoreInProgress(false); }
    CRestoreInProgress(const CRestoreInProgress&) = delete;
    CRestoreInProgress& operator=(const CRestoreInProgress&) = delete;

private:
    CWindowController& m_app;
};

// The application object of the main window, null before WM_CREATE and after WM_DESTROY.
CWindowController* GetWindowController();

