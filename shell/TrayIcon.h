#pragma once

#include <windows.h>

#include <shellapi.h>

// The program's icon in the taskbar's notification area: added, given its
// tooltip, flashed between two pictures after a note has arrived, and used
// for a balloon. Every call builds its own NOTIFYICONDATA for the main window.
class CTrayIcon {
public:
    enum { kTipSize = 128, kNormalIconId = 508, kAlternateIconId = 550 };

    CTrayIcon() = default;
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // What the icon asks the system; tests replace it.
    using NotifyCall = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
    void SetNotifyCall(NotifyCall call) { m_notify = call; }

    // Loads both 16 x 16 pictures; throws when one is missing.
    void LoadIcons(HINSTANCE instance, UINT normalId, UINT alternateId);
    // Puts the icon in the tray. A refusal is tried again at most three more
    // times, 3 s apart, from the window's timer kTimerTrayAddRetry (waiting
    // here would hold the program's start); the housekeeping tick adds the
    // icon again while it is not there.
    bool Add(HWND window, const char* tip);
    // A tick of that timer: the next try.
    void RetryAdd(HWND window);
    void Remove(HWND window);
    void SetTip(HWND window, const char* text);
    void Unhide(HWND window);
    // Shows the other picture, with a tooltip naming the sender.
    void Flash(HWND window, const char* firstName, const char* secondName);
    void StopFlashing(HWND window);
    void ShowBalloon(HWND window, const char* text);

    bool IsAdded() const { return m_added != 0; }
    const char* GetTip() const { return m_tip; }

private:
    NOTIFYICONDATAA Data(HWND window, UINT flags) const;
    bool TryAdd(HWND window);
    void StopRetries(HWND window);
    void DestroyIcons();

    NotifyCall m_notify = &Shell_NotifyIconA;
    int m_retriesLeft = 0;  // tries still to come from the timer

    HICON m_normal = nullptr;
    UINT m_iconId = 0;
    HICON m_alternate = nullptr;
    DWORD m_flashPhase = 0;
    DWORD m_added = 0;
    char m_tip[kTipSize] = "";
};
