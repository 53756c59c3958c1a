#include "shell/WindowController.h"

#include <cstdio>
#include <string>
#include <vector>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWindow.h"
#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FormatSettings.h"
#include "foundation/HeldFileWait.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/StartupValues.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/Shortcuts.h"
#include "foundation/win/SystemProbes.h"
#include "store/Destination.h"
#include "store/DestinationListOps.h"
#include "store/DestinationLists.h"
#include "store/SentToTable.h"
#include "store/TransactTable.h"
#include "net/PortListener.h"
#include "net/SendThreads.h"
#include "notemanager/NoteManagerController.h"
#include "note/ProtectedNotes.h"
#include "notemanager/NoteManagerEntry.h"
#include "notemanager/NoteManagerMessages.h"
#include "shell/Favourites.h"
#include "shell/Hotkeys.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteLists.h"
#include "shell/NoteManagerFiles.h"
#include "shell/OptionalLibraries.h"
#include "shell/RescueLeftovers.h"
#include "globals/ProgramGlobals.h"
#include "store/Sounds.h"
#include "store/NotesLoader.h"
#include "store/SettingsTable.h"
#include "store/UsersTable.h"

namespace {
const UINT kHousekeepingPeriodMs = 15000;

void ReadScreenColours(HWND window)
{
    CClientDC dc(window);
    SetDisplayColorCount(dc.GetColorCount());
}
}

CWindowController::CWindowController(HWND mainWindow, const CREATESTRUCTA& creation)
    : m_mainWindow(mainWindow), m_instance(creation.hInstance)
{
    for (int i = 0; i < 2; ++i) {
        m_ports[i].m_portNumber = i + 1;
        m_ports[i].m_window = mainWindow;
    }
}

CWindowController::~CWindowController() = default;

void CWindowController::StartTimers()
{
    m_housekeepingTimer = SetTimer(m_mainWindow, kTimerHousekeeping, kHousekeepingPeriodMs, nullptr);
    if (!m_housekeepingTimer)
        throw CGenericException("Cannot create timer 2");
    m_autoSaveMinutes = 0;
    m_autoSaveSeconds = 0;
}

void CWindowController::StopTimers()
{
    // A close before the start has finished makes no shortcuts that the
    // close would leave behind.
    KillTimer(m_mainWindow, kTimerStartFinish);
    KillTimer(m_mainWindow, kTimerHousekeeping);
    m_housekeepingTimer = 0;
    if (m_trayFlashing) {
        KillTimer(m_mainWindow, kTimerTrayFlash);
        m_trayFlashing = 0;
    }
}

void CWindowController::StartListening()
{
    const CUserSettings& user = UserSettings();
    m_ports[0].m_port = user.listenPort;
    m_ports[1].m_port = user.sendPort;
    if (!user.listenPort || !user.sendPort || !user.networkOn)
        return;
    for (int i = 0; i < 2; ++i)
        ListenOrReport(i);
}

// A port that cannot be listened on (another program holds it) is reported,
// and the program works on without it.
bool CWindowController::ListenOrReport(int index)
{
    const DWORD port = m_ports[index].m_port;
    try {
        ListenOnPortThreadNew(m_mainWindow, m_ports[index]);
        return true;
    } catch (const CGenericException& failure) {
        std::string text = "Quillnet+ cannot listen on port " + std::to_string(port) + ":\r\n" + failure.GetErrorText();
        ShowMessageBox(m_mainWindow, text.c_str(), ProgramTitle, kMbOk | kMbIconHand);
        return false;
    }
}

void CWindowController::StopListeningOnBothPorts()
{
    StopListening(m_ports, sizeof m_ports / sizeof m_ports[0]);
}

void CWindowController::AdoptNote(CNoteController* note)
{
    if (!note)
        return;
    note->m_application = this;
    if (note->m_userId && note->m_userId != UserSettings().userId)
        m_otherNotes.InsertSortedByDate(note);
    else
        m_ourNotes.InsertSortedByDate(note);
}

void CWindowController::AdoptNewNote(CNoteController* note)
{
    AdoptNote(note);
    ListInOpenNoteManager(note);
}

void CWindowController::ListInOpenNoteManager(CNoteController* note)
{
    if (!note || !m_ourNotes.Contains(note))
        return;
    if (HWND manager = FindNoteManagerWindow())
        TellNoteManagerOfNewNote(manager, note);
}

// The settings, the user's record, the user's notes and the calendar's settings.
void CWindowController::LoadUserData()
{
    LoadSettings();
    CreatedNotes introNotes;
    IdentifyUser(introNotes);
    for (CNoteController* note : introNotes)
        AdoptNote(note);
    FillArraySharingNotes();
    ApplyUserDisplaySettings();
    ChooseMenuLook();
    LoadUserSounds();
    RebuildTransactFreeRecords();
    LoadSentToTable();
    LoadTransactTable();
    LoadAssociationsAndGroups(m_mainWindow);
    ProgramFlags& flags = GetProgramFlags();
    flags.loadingNotes = true;
    try {
        LoadNotes(CurrentRowOwnership(), [this](CNoteController* note) { AdoptNote(note); });
    } catch (...) {
        flags.loadingNotes = false;
        throw;
    }
    flags.loadingNotes = false;
    // No note reads the calendar's settings: they come once the notes are
    // there, before the hotkeys and the calendar that use them.
    LoadCalendarSettings();
    if (flags.closeAfterLoading) {
        flags.closeAfterLoading = false;
        PostMessageA(m_mainWindow, WM_CLOSE, 0, 0);
    }
}

void CWindowController::FocusFirstShownNote()
{
    CNoteController* note = FirstShownNote(m_ourNotes);
    if (!note)
        return;
    if (note->m_window) {
        SetFocus(note->m_window);
        SetForegroundWindow(note->m_window);
    }
    SendMessageA(m_mainWindow, kMsgRememberLastNote, 0, reinterpret_cast<LPARAM>(note));
}

// What the formatters and the destination records read of the user's settings.
void CWindowController::ApplyUserDisplaySettings()
{
    const CUserSettings& user = UserSettings();
    CFormatSettings& format = FormatSettings();
    format.dateFormat = user.dateFormat;
    format.withTime = user.datesWithTime != 0;
    format.showSender = user.showSenderUser != 0;
    format.showComputer = user.showSenderComputer != 0;
    SetDestinationDefaults(user.listenPort, user.userId);
}

// The menus' look follows the settings and the system's visual style.
void CWindowController::ChooseMenuLook()
{
    CoolMenuLook& look = GetCoolMenuLook();
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    bool styled = (windows.isWindowsXp || windows.isVistaOrLater) && windows.commonControlsMajor == 6;
    look.menuLook = static_cast<int>(ConfigSettings().menuStyle);
    look.vistaTheme = styled && windows.isVistaOrLater && GetXpColorScheme() != 0;
    look.xpScheme = styled && !windows.isVistaOrLater ? GetXpColorScheme() : 0;
    look.normalFont = MenuFont().GetHFONT();
    look.boldFont = BoldMenuFont().GetHFONT();
}

void CWindowController::OnCreate()
{
    RegisterSessionNotification(m_mainWindow);
    ReadScreenColours(m_mainWindow);
    // Before anything that answers other programs' messages: what the folder's
    // set-up writes is in place once the window answers.
    StartFavourites(m_mainWindow);
    LoadUserData();
    // Before anything of this run can store a note: the listeners, the
    // timers, the password prompts below. A rescue an earlier run wrote whole
    // but never named is offered as any other.
    TakeInRescuesLeftUnnamed();
    m_rescueOffer.Decide(m_rescueBackup);
    // What follows reads no data file, and the password prompts below let in
    // the system's question, timers and other programs' requests, none of
    // which may wait for a held file on the start's behalf.
    EndStartWaitsForHeldFiles();
    StartDesktop();
    FillHotkeyKeyTable(m_instance);
    RegisterEnabledHotkeys(m_mainWindow);
    StartTimers();
    FocusFirstShownNote();
    StartListening();
    // Protected notes ask for their passwords as the program starts.
    // A restore let in by a prompt closes every note: the walk stops there.
    ForEachNote(m_ourNotes, [this](CNoteController* note) {
        return AskLockedNotePassword(*note, 1, 0) != kProtectedNoteGone;
    });
    // A calendar left open at the end of the last run opens again.
    if (CurrentCalendarOptions().visible)
        ShowCalendar(true);
    // A timer comes after the notes' painting: they show first.
    SetTimer(m_mainWindow, kTimerStartFinish, USER_TIMER_MINIMUM, nullptr);
}

// What the start puts off until the notes are shown: the favourites' icons
// and the Send To shortcuts, which only other programs and menus use, and
// the word about changes that the last end could not store.
void CWindowController::FinishStart()
{
    KillTimer(m_mainWindow, kTimerStartFinish);
    ListPendingFavourites();
    CreateSendToShortcuts();
    m_rescueOffer.Offer(*this);
}

void CWindowController::Reinitialize()
{
    RaiseNotesGeneration();
    m_lastNote = nullptr;
    m_busySaving = 0;
    ReadScreenColours(m_mainWindow);
    LoadUserData();
    FillHotkeyKeyTable(m_instance);
    RegisterEnabledHotkeys(m_mainWindow);
    StartTimers();
    UpdateTrayTooltip();
    FocusFirstShownNote();
    m_ports[0].m_port = UserSettings().listenPort;
    m_ports[1].m_port = UserSettings().sendPort;
    TrackAssociatedApps(1);
}

void CWindowController::Teardown()
{
    // Shutdown has ended the send threads, or cut off those that would not
    // end: none of them records a delivery into the lists from now on.
    Shutdown();
    m_restoreState.pendingTies.clear();
    m_restoreState.unwrittenTieFiles.clear();
    m_ourNotes.RemoveAll();
    m_otherNotes.RemoveAll();
    m_fataPalida.RemoveAll();
    {
        CCriticalSectionLock hold(SentToLock());
        SentToList().RemoveAll();
    }
    CCriticalSectionLock hold(TransactLock());
    TransactList().RemoveAll();
    UnloadAssociationsAndGroups(m_mainWindow);
    UpdateTrayTooltip();
}

void CWindowController::SetRestoreInProgress(bool inProgress)
{
    m_restoreInProgress = inProgress ? 1 : 0;
    if (!inProgress && m_closeDeferred) {
        m_closeDeferred = false;
        PostMessageA(m_mainWindow, WM_CLOSE, 0, 0);
    }
}

bool CWindowController::Shutdown()
{
    if (!m_restoreInProgress) {
        // The user is being asked whether to end with changes not stored.
        if (m_askingAtEnd)
            return false;
        GetProgramFlags().closing = true;
        if (!AreDataFilesSealed()) {
            if (!SavedForEnd()) {
                GetProgramFlags().closing = false;
                return false;
            }
            CloseCalendarWindowAtExit();
        }
        StopListeningOnBothPorts();
        StopDesktop();
        StopFavouritesWatcher();
    }
    StopTimers();
    UnregisterAllHotkeys(m_mainWindow);
    // Every send stops at once, rather than each with its note; a notice that
    // the user left a chat is let finish within the wait.
    if (!EndSendThreads(kSendThreadsEndMs))
        WriteErrorLog("CWindowController::Shutdown():", "a send thread did not end in time");
    CloseNoteManagerBeforeNotesGo();
    CloseAllNotes(m_ourNotes);
    CloseAllNotes(m_otherNotes);
    CloseAllNotes(DeletedNotesList());
    m_lastNote = nullptr;
    return true;
}

void CWindowController::ReleaseMembers()
{
    StopListeningOnBothPorts();
    m_fataPalida.RemoveAll();
    CloseAllNotes(m_otherNotes);
    CloseAllNotes(m_ourNotes);
    for (CCoolMenu& menu : m_menus)
        menu.Detach();
}
