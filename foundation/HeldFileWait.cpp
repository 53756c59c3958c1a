#include "foundation/HeldFileWait.h"

#include <atomic>
#include <set>

#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"

namespace {
// The thread that starts the program, 0 when none does.
std::atomic<DWORD> g_startingThread{0};

// Only the starting thread reads or changes these.
std::set<std::string>& GivenUp()
{
    static std::set<std::string> paths;
    return paths;
}

std::string LoweredHolderName(std::string text)
{
    if (!text.empty())
        CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool HeldError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}
}

void CStartWaitsForHeldFiles::Begin()
{
    GivenUp().clear();
    g_startingThread = GetCurrentThreadId();
}

void CStartWaitsForHeldFiles::End()
{
    EndStartWaitsForHeldFiles();
}

bool StartWaitsForHeldFiles()
{
    return g_startingThread == GetCurrentThreadId();
}

void EndStartWaitsForHeldFiles()
{
    DWORD self = GetCurrentThreadId();
    g_startingThread.compare_exchange_strong(self, 0);
}

CStartWaitsPaused::CStartWaitsPaused() : m_paused(StartWaitsForHeldFiles())
{
    if (m_paused)
        g_startingThread = 0;
}

CStartWaitsPaused::~CStartWaitsPaused()
{
    if (m_paused)
        g_startingThread = GetCurrentThreadId();
}

void NoteStartWaitingFor(const std::string& names, bool several)
{
    const std::string text = "Another program holds " + names + "; the start waits up to " +
                             std::to_string(kHeldFileLooks * kPauseBetweenHeldFileLooks / 1000) + " seconds for " +
                             (several ? "them." : "it.");
    WriteErrorLog("WinMain(): ", text.c_str());
}

bool RetryWhileHeldAtStart(const char* path, const std::function<bool()>& step)
{
    if (step())
        return true;
    DWORD error = GetLastError();
    const std::string key = LoweredHolderName(path ? path : "");
    if (!HeldError(error) || !StartWaitsForHeldFiles() || GivenUp().count(key)) {
        SetLastError(error);
        return false;
    }
    NoteStartWaitingFor(FileNameOf(path ? path : ""), false);
    for (int look = 0; look < kHeldFileLooks; ++look) {
        Sleep(kPauseBetweenHeldFileLooks);
        if (step())
            return true;
        error = GetLastError();
        if (!HeldError(error))
            break;
    }
    if (HeldError(error))
        GivenUp().insert(key);
    SetLastError(error);
    return false;
}
