#include "shell/WindowController.h"

#include <cstdio>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/win/DeviceContext.h"
#include "shell/MainWindowMessages.h"
#include "shell/OptionalLibraries.h"

namespace {
const UINT kHousekeepingPeriodMs = 15000;
const char* const kReceivedNoteFiles[] = {"ATTACHED\\noteOnPort1.tmp", "ATTACHED\\noteOnPort2.tmp"};

void ReadScreenColours(HWND window)
{
    CClientDC dc(window);
    SetDisplayColorCount(dc.GetColorCount());
}
}

ProgramFlags& GetProgramFlags()
{
    static ProgramFlags flags;
    return flags;
}

CWindowController::CWindowController(HWND mainWindow, const CREATESTRUCTA& creation)
    : m_mainWindow(mainWindow), m_instance(creation.hInstance)
{
}

CWindowController::~CWindowController() = default;

void CWindowController::BuildTransactionDeletedList()
{
    m_transactTable.SetTable(DataFilePath(DataName::kTransactionsTable).c_str(), true);
    m_transactTable.Open("READ");
    m_transactTable.BuildDeletedList();
    m_transactTable.Close();
}

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
    KillTimer(m_mainWindow, kTimerHousekeeping);
    m_housekeepingTimer = 0;
    if (m_trayFlashing) {
        KillTimer(m_mainWindow, kTimerTrayFlash);
        m_trayFlashing = 0;
    }
}

void CWindowController::OnCreate()
{
    RegisterSessionNotification(m_mainWindow);
    ReadScreenColours(m_mainWindow);
    BuildTransactionDeletedList();
    StartTimers();
    for (const char* name : kReceivedNoteFiles)
        DeleteFileA(DataFilePath(name).c_str());
}

void CWindowController::Reinitialize()
{
    m_lastNote = nullptr;
    ReadScreenColours(m_mainWindow);
    BuildTransactionDeletedList();
    StartTimers();
}

void CWindowController::Teardown()
{
    Shutdown();
    m_ourNotes.RemoveAll();
    m_otherNotes.RemoveAll();
    m_fataPalida.RemoveAll();
}

void CWindowController::Shutdown()
{
    if (!m_restoreInProgress)
        GetProgramFlags().closing = true;
    StopTimers();
    CloseNotesOf(m_ourNotes);
    CloseNotesOf(m_otherNotes);
}

void CWindowController::CloseNotesOf(CPtrList& list)
{
    list.RemoveAll();
}

void CWindowController::ReleaseMembers()
{
    m_transactTable.Close();
    m_notesTable.Close();
    m_fataPalida.RemoveAll();
    m_otherNotes.RemoveAll();
    m_ourNotes.RemoveAll();
}

bool CWindowController::AnyNoteTransmitting() const
{
    return false;
}

int CWindowController::OnQueryEndSession()
{
    ProgramFlags& flags = GetProgramFlags();
    if (flags.endOfSession == 1)
        return 1;
    if (flags.endOfSession == 2)
        return 0;
    flags.endOfSession = 1;
    OnEndSession();
    return 0;
}

void CWindowController::OnEndSession()
{
    GetProgramFlags().closing = true;
    StopTimers();
    GetProgramFlags().endOfSession = 2;
}

void CWindowController::OnEndSessionCancelled()
{
    ProgramFlags& flags = GetProgramFlags();
    if (flags.endOfSession == 0)
        return;
    flags.endOfSession = 0;
    flags.closing = false;
    StartTimers();
}
