#include "shell/AboutDialog.h"

#include <cstdio>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "foundation/bytes/WebAddresses.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/GdiObjects.h"
#include "foundation/win/Launching.h"
#include "foundation/win/WindowHelpers.h"
#include "resources/ids/AboutIds.h"

namespace {
const char kWebSiteAddress[] = QN_WEB_SITE;
const char kVersionCheckAddress[] = QN_VERSION_CHECK_PAGE;
const INT_PTR kOpenWebSite = 3;
const INT_PTR kCheckVersion = 4;
const COLORREF kLinkColor = RGB(0, 0, 255);
const COLORREF kHoverColor = RGB(128, 0, 0);

LOGFONTA Font(LONG height, bool underline, const char* face)
{
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = underline ? 1 : 0;
    font.lfCharSet = DEFAULT_CHARSET;
    std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", face);
    return font;
}

struct AboutLink {
    int id;
    RECT rect;
    bool hovered;
};

class CAboutDlg {
public:
    explicit CAboutDlg(HWND dialog);
    ~CAboutDlg() = default;

    void OnEraseBkgnd(HDC dc);
    HBRUSH OnCtlColorStatic(HDC dc, HWND control);
    void OnMouseMove(POINT point);
    bool OnSetCursor();
    void OnLinkClick(POINT point);

private:
    void FitToBitmap();
    void SetTitle();
    void LayoutControls();
    void RestoreBackground(const AboutLink& link);
    void GetRectInDialog(int id, RECT* rect) const { GetRectInParent(GetDlgItem(m_dialog, id), m_dialog, rect); }
    const AboutLink* LinkOf(HWND control) const;

    HWND m_dialog;
    CBitmapHolder m_bitmap;
    CCompatibleDC m_background;
    CGdiFont m_bottomLineFont{Font(-13, false, "Arial")};
    CGdiFont m_linkFont{Font(-16, true, "Times New Roman")};
    AboutLink m_links[2] = {{IDC_ABOUT_WEB_SITE, {}, false}, {IDC_ABOUT_NEW_VERSION, {}, false}};
};

CAboutDlg::CAboutDlg(HWND dialog)
    : m_dialog(dialog),
      m_bitmap(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUT))),
      m_background(nullptr)
{
    if (m_bitmap.Get())
        SelectObject(m_background.GetHandle(), m_bitmap.Get());
    FitToBitmap();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    SetTitle();
    SendDlgItemMessageA(dialog, IDC_ABOUT_BOTTOM_LINE, WM_SETFONT,
                        reinterpret_cast<WPARAM>(m_bottomLineFont.GetHFONT()), FALSE);
    for (const AboutLink& link : m_links)
        SendDlgItemMessageA(dialog, link.id, WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.GetHFONT()), FALSE);
    SetDlgItemTextA(dialog, IDC_ABOUT_WEB_SITE, kWebSiteAddress);
    SetDlgItemTextA(dialog, IDC_ABOUT_NEW_VERSION, "Check for new version...");
    LayoutControls();
}

void CAboutDlg::FitToBitmap()
{
    BITMAP picture;
    if (!m_bitmap.Get() || !GetObjectA(m_bitmap.Get(), sizeof picture, &picture))
        return;
    RECT window, client;
    GetWindowRect(m_dialog, &window);
    GetClientRect(m_dialog, &client);
    int width = picture.bmWidth + (window.right - window.left) - client.right;
    int height = picture.bmHeight + (window.bottom - window.top) - client.bottom;
    MoveWindow(m_dialog, window.left, window.top, width, height, FALSE);
}

void CAboutDlg::SetTitle()
{
    char templateText[100] = "";
    GetWindowTextA(m_dialog, templateText, sizeof templateText);
    char title[200] = "";
    MakeAboutTitle(templateText, title, sizeof title);
    SetWindowTextA(m_dialog, title);
}

void CAboutDlg::LayoutControls()
{
    RECT client;
    GetClientRect(m_dialog, &client);
    auto place = [&](int id, int x, int y) {
        SetWindowPos(GetDlgItem(m_dialog, id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    };
    RECT ok, bottom, site, version;
    GetRectInDialog(IDCANCEL, &ok);
    GetRectInDialog(IDC_ABOUT_BOTTOM_LINE, &bottom);
    GetRectInDialog(IDC_ABOUT_WEB_SITE, &site);
    GetRectInDialog(IDC_ABOUT_NEW_VERSION, &version);
    place(IDCANCEL, client.right - 20 - (ok.right - ok.left), client.bottom - 35);
    int bottomTop = client.bottom - (bottom.bottom - bottom.top);
    place(IDC_ABOUT_BOTTOM_LINE, bottom.left, bottomTop);
    int siteTop = bottomTop - (site.bottom - site.top);
    place(IDC_ABOUT_WEB_SITE, site.left, siteTop);
    place(IDC_ABOUT_NEW_VERSION, version.left, siteTop - 10 - (version.bottom - version.top));
    for (AboutLink& link : m_links)
        GetRectInDialog(link.id, &link.rect);
}

void CAboutDlg::OnEraseBkgnd(HDC dc)
{
    RECT client;
    GetClientRect(m_dialog, &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, m_background.GetHandle(), 0, 0, SRCCOPY);
}

const AboutLink* CAboutDlg::LinkOf(HWND control) const
{
    for (const AboutLink& link : m_links)
        if (GetDlgItem(m_dialog, link.id) == control)
            return &link;
    return nullptr;
}

HBRUSH CAboutDlg::OnCtlColorStatic(HDC dc, HWND control)
{
    if (const AboutLink* link = LinkOf(control))
        SetTextColor(dc, link->hovered ? kHoverColor : kLinkColor);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

// The links draw on a hollow brush: the picture under a link goes back first,
// so that its text in the other colour is not drawn over the old one.
void CAboutDlg::RestoreBackground(const AboutLink& link)
{
    HWND control = GetDlgItem(m_dialog, link.id);
    HDC dc = GetDC(control);
    BitBlt(dc, 0, 0, link.rect.right - link.rect.left, link.rect.bottom - link.rect.top, m_background.GetHandle(),
           link.rect.left, link.rect.top, SRCCOPY);
    ReleaseDC(control, dc);
    InvalidateRect(control, nullptr, FALSE);
}

void CAboutDlg::OnMouseMove(POINT point)
{
    for (AboutLink& link : m_links) {
        bool inside = PtInRect(&link.rect, point) != 0;
        if (inside && !link.hovered) {
            link.hovered = true;
            RestoreBackground(link);
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return;
        }
        if (!inside && link.hovered) {
            link.hovered = false;
            RestoreBackground(link);
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            return;
        }
    }
}

// The hand over a link, the dialog's own cursor elsewhere; the dialog class is
// shared by every dialog of the program, so its cursor is left as it is.
bool CAboutDlg::OnSetCursor()
{
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(m_dialog, &point);
    for (const AboutLink& link : m_links) {
        if (PtInRect(&link.rect, point)) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return true;
        }
    }
    return false;
}

void CAboutDlg::OnLinkClick(POINT point)
{
    if (PtInRect(&m_links[0].rect, point))
        EndDialog(m_dialog, kOpenWebSite);
    else if (PtInRect(&m_links[1].rect, point))
        EndDialog(m_dialog, kCheckVersion);
}

CAboutDlg* AboutOf(HWND dialog)
{
    return reinterpret_cast<CAboutDlg*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

POINT AboutPointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// A dialog procedure's answer to a message whose result is not its return value.
INT_PTR AboutDialogAnswer(HWND dialog, LRESULT result)
{
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR AboutDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    CAboutDlg* about = AboutOf(dialog);
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(new CAboutDlg(dialog)));
        return TRUE;
    case WM_DESTROY:
        delete about;
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        return TRUE;
    case WM_ERASEBKGND:
        if (!about)
            return FALSE;
        about->OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
        return AboutDialogAnswer(dialog, 1);
    case WM_HELP:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 1);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (!about)
            return FALSE;
        return reinterpret_cast<INT_PTR>(
            about->OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_SETCURSOR:
        if (about && LOWORD(lParam) == HTCLIENT && about->OnSetCursor())
            return AboutDialogAnswer(dialog, TRUE);
        return FALSE;
    case WM_MOUSEMOVE:
        if (about)
            about->OnMouseMove(AboutPointOf(lParam));
        return FALSE;
    case WM_LBUTTONDOWN:
        if (about)
            about->OnLinkClick(AboutPointOf(lParam));
        return FALSE;
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return AboutDialogMessage(dialog, message, wParam, lParam); });
}

void MakeAboutTitle(const char* templateText, char* title, int size)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CResourceString version;
    version.LoadString(instance, IDS_VERSION_TEXT);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    char date[80] = "";
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    FILETIME local;
    SYSTEMTIME written;
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) &&
        FileTimeToLocalFileTime(&attributes.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &written))
        GetDateFormatA(LOCALE_USER_DEFAULT, 0, &written, "MMMM dd, yyyy", date, sizeof date);
    std::snprintf(title, static_cast<size_t>(size), "%s v%s - %s", templateText, version.GetText(), date);
}

void ShowAboutBox(HWND owner)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc, 0);
    if (result == kOpenWebSite) {
        ShellOpen(owner, kWebSiteAddress);
    } else if (result == kCheckVersion) {
        CResourceString tag;
        tag.LoadString(instance, IDS_VERSION_TAG);
        ShellOpen(owner, (std::string(kVersionCheckAddress) + tag.GetText()).c_str());
    }
}
