// The thread that watches the favourites folder for names that come and go
// and tells the main window, which rebuilds the list on its own thread.
#include <process.h>

#include <cstdio>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "shell/FavouritesWatcher.h"

namespace {
// Time the program waits at its end for the watcher to finish.
const DWORD kStopWaitMs = 5000;
}

unsigned __stdcall CFavouritesWatcher::WatchThread(void* parameter)
{
    auto* watcher = static_cast<CFavouritesWatcher*>(parameter);
    try {
        HANDLE change = FindFirstChangeNotificationA(watcher->m_folder, TRUE,
                                                     FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
        if (change == INVALID_HANDLE_VALUE)
            return 0;
        HANDLE waits[2] = {watcher->m_stopEvent, change};
        while (!watcher->m_stop) {
            DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
            if (woken != WAIT_OBJECT_0 + 1 || watcher->m_stop)
                break;
            // A window that is gone is never posted to.
            if (!IsWindow(watcher->m_window) || !PostMessageA(watcher->m_window, watcher->m_message, 0, 0))
                break;
            if (!FindNextChangeNotification(change))
                break;
        }
        FindCloseChangeNotification(change);
    } catch (...) {
        WriteErrorLog("FavouritesWatchThread():", "the favourites folder is no longer watched");
    }
    return 0;
}

bool CFavouritesWatcher::IsRunning() const
{
    return m_thread && WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

void CFavouritesWatcher::Start(HWND window, const char* folder, UINT message)
{
    Stop();
    if (!m_stopEvent)
        m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_stopEvent)
        throw CGenericException("The detect Favourites folder change thread could not be started");
    ResetEvent(m_stopEvent);
    m_window = window;
    m_message = message;
    m_stop = 0;
    std::snprintf(m_folder, sizeof m_folder, "%s", folder ? folder : "");
    m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &WatchThread, this, 0, nullptr));
    if (!m_thread)
        throw CGenericException("The detect Favourites folder change thread could not be started");
}

// The thread is woken by the stop event and waited for, within a bound; a
// thread that does not end in time is left to the process's end.
void CFavouritesWatcher::Stop()
{
    if (m_thread) {
        InterlockedExchange(&m_stop, 1);
        SetEvent(m_stopEvent);
        if (WaitForSingleObject(m_thread, kStopWaitMs) != WAIT_OBJECT_0)
            WriteErrorLog("CFavouritesWatcher::Stop():", "the favourites watcher did not end in time");
        CloseHandle(m_thread);
        m_thread = nullptr;
        m_window = nullptr;
    }
}
