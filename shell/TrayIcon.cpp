#include "shell/TrayIcon.h"

#include <shellapi.h>

#include "foundation/StartupValues.h"
#include "foundation/bytes/BoundedCopy.h"
#include "foundation/bytes/GenericException.h"
#include "globals/MainWindowMessages.h"
#include "shell/bytes/TrayTooltip.h"

namespace {
const int kAddRetries = 3;
const UINT kAddRetryMs = 3000;

// The structure's size that the system understands: the long one from
// Windows 2000 on, the first one before.
DWORD DataSize()
{
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    if (windows.isWindows2000 || windows.isWindowsXp || windows.isVistaOrLater)
        return sizeof(NOTIFYICONDATAA);
    return NOTIFYICONDATAA_V1_SIZE;
}
}

CTrayIcon::~CTrayIcon()
{
    DestroyIcons();
}

void CTrayIcon::DestroyIcons()
{
    if (m_normal)
        DestroyIcon(m_normal);
    if (m_alternate)
        DestroyIcon(m_alternate);
    m_normal = m_alternate = nullptr;
}

NOTIFYICONDATAA CTrayIcon::Data(HWND window, UINT flags) const
{
    NOTIFYICONDATAA data{};
    data.cbSize = DataSize();
    data.hWnd = window;
    data.uID = m_iconId;
    data.uFlags = flags;
    data.uCallbackMessage = kMsgTrayCallback;
    return data;
}

void CTrayIcon::LoadIcons(HINSTANCE instance, UINT normalId, UINT alternateId)
{
    m_iconId = normalId;
    DestroyIcons();
    m_normal = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(normalId), IMAGE_ICON, 16, 16, 0));
    if (!m_normal)
        throw CGenericException("32x32 tray icon could not be loaded");
    m_alternate = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(alternateId), IMAGE_ICON, 16, 16, 0));
    if (!m_alternate)
        throw CGenericException("16x16 tray icon could not be loaded");
}

bool CTrayIcon::TryAdd(HWND window)
{
    m_flashPhase = 0;
    NOTIFYICONDATAA data = Data(window, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.hIcon = m_normal;
    CopyBounded(data.szTip, sizeof data.szTip, m_tip);
    m_added = m_notify(NIM_ADD, &data) ? 1 : 0;
    return m_added != 0;
}

bool CTrayIcon::Add(HWND window, const char* tip)
{
    if (!m_normal)
        return false;
    CopyBounded(m_tip, sizeof m_tip, tip ? tip : "");
    if (TryAdd(window)) {
        StopRetries(window);
        return true;
    }
    // Tries already under way go on as they are.
    if (m_retriesLeft == 0) {
        m_retriesLeft = kAddRetries;
        SetTimer(window, kTimerTrayAddRetry, kAddRetryMs, nullptr);
    }
    return false;
}

void CTrayIcon::RetryAdd(HWND window)
{
    KillTimer(window, kTimerTrayAddRetry);
    if (m_retriesLeft == 0 || m_added || !m_normal) {
        m_retriesLeft = 0;
        return;
    }
    --m_retriesLeft;
    if (TryAdd(window))
        m_retriesLeft = 0;
    else if (m_retriesLeft > 0)
        SetTimer(window, kTimerTrayAddRetry, kAddRetryMs, nullptr);
}

void CTrayIcon::StopRetries(HWND window)
{
    if (m_retriesLeft > 0)
        KillTimer(window, kTimerTrayAddRetry);
    m_retriesLeft = 0;
}

void CTrayIcon::Remove(HWND window)
{
    StopRetries(window);
    if (!m_added)
        return;
    NOTIFYICONDATAA data = Data(window, 0);
    m_notify(NIM_DELETE, &data);
    m_added = 0;
    DestroyIcons();
}

void CTrayIcon::SetTip(HWND window, const char* text)
{
    if (!m_added)
        return;
    CopyBounded(m_tip, sizeof m_tip, text);
    NOTIFYICONDATAA data = Data(window, NIF_TIP);
    CopyBounded(data.szTip, sizeof data.szTip, m_tip);
    m_notify(NIM_MODIFY, &data);
}

void CTrayIcon::Unhide(HWND window)
{
    NOTIFYICONDATAA data = Data(window, NIF_STATE);
    data.dwState = 0;
    data.dwStateMask = NIS_HIDDEN;
    m_notify(NIM_MODIFY, &data);
}

void CTrayIcon::Flash(HWND window, const char* firstName, const char* secondName)
{
    if (!m_added)
        return;
    NOTIFYICONDATAA data = Data(window, NIF_ICON | NIF_TIP);
    if (m_flashPhase != 1) {
        data.hIcon = m_alternate;
        m_flashPhase = 1;
    } else {
        data.hIcon = m_normal;
        m_flashPhase = 0;
    }
    std::string tip = TrayReceivedTip(firstName ? firstName : "", secondName ? secondName : "");
    CopyBounded(m_tip, sizeof m_tip, tip.c_str());
    CopyBounded(data.szTip, sizeof data.szTip, m_tip);
    m_notify(NIM_MODIFY, &data);
}

void CTrayIcon::StopFlashing(HWND window)
{
    if (!m_added)
        return;
    NOTIFYICONDATAA data = Data(window, NIF_ICON);
    data.hIcon = m_normal;
    m_flashPhase = 0;
    m_notify(NIM_MODIFY, &data);
}

void CTrayIcon::ShowBalloon(HWND window, const char* text)
{
    if (!m_added)
        return;
    NOTIFYICONDATAA data = Data(window, NIF_INFO);
    data.cbSize = sizeof(NOTIFYICONDATAA);
    data.dwInfoFlags = NIIF_INFO;
    data.uTimeout = 5000;
    CopyBounded(data.szInfoTitle, sizeof data.szInfoTitle, "Quillnet+");
    CopyBounded(data.szInfo, sizeof data.szInfo, text);
    m_notify(NIM_MODIFY, &data);
}
