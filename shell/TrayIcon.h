#pragma once

#include <windows.h>

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

    // Loads both 16 x 16 pictures; throws when one is missing.
    void LoadIcons(HINSTANCE instance, UINT normalId, UINT alternateId);
    // One attempt to put the icon in the tray; the housekeeping tick tries
    // again while it is not there, so the main thread never waits here.
    bool Add(HWND window, const char* tip);
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
    void DestroyIcons();

    HICON m_normal = nullptr;
    UINT m_iconId = 0;
    HICON m_alternate = nullptr;
    DWORD m_flashPhase = 0;
    DWORD m_added = 0;
    char m_tip[kTipSize] = "";
};
