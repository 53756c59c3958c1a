#pragma once

#include <windows.h>

// Watches the favourites folder from a thread and posts the message to the
// window whenever a name in it comes or goes. Stopping waits, bounded, for
// the thread to end; the destructor stops it.
class CFavouritesWatcher {
public:
    CFavouritesWatcher() = default;
    ~CFavouritesWatcher() { Stop(); }
    CFavouritesWatcher(const CFavouritesWatcher&) = delete;
    CFavouritesWatcher& operator=(const CFavouritesWatcher&) = delete;

    void Start(HWND window, const char* folder, UINT message);
    void Stop();
    bool IsRunning() const;

private:
    static unsigned __stdcall WatchThread(void* parameter);

    HANDLE m_thread = nullptr;
    HANDLE m_stopEvent = nullptr;
    HWND m_window = nullptr;
    UINT m_message = 0;
    char m_folder[MAX_PATH] = "";
    volatile LONG m_stop = 0;
};

// The program's one watcher, a program-wide object (shell/ProgramGlobalsOrder.cpp).
CFavouritesWatcher& FavouritesWatcher();
