#include "xmlfiles/BackupFolderBrowser.h"

#include <shlobj.h>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/BoundedCopy.h"
#include "foundation/win/WindowHelpers.h"

namespace {
const char kIncorrectLocation[] = "Sorry, this is an incorrect BACKUP location";
// The shell's ids of the browser's folder tree, title and status line.
const int kTreeId = 0x3741;
const int kTitleId = 0x3742;
const int kStatusId = 0x3743;
// The tree takes the place of the title (the caption repeats it) and of the
// status line, which goes to the foot, above OK and Cancel.
const int kTreeRaise = 55;
const int kTreeGrowth = 30;
const int kStatusAboveBottom = 30;
const int kBrowserGap = 2;

void MoveTo(HWND control, const RECT& place)
{
    MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
}

void LayOutBackupBrowser(HWND browser)
{
    HWND tree = GetDlgItem(browser, kTreeId);
    HWND status = GetDlgItem(browser, kStatusId);
    if (!tree || !status)
        return;
    RECT client{}, place{};
    GetClientRect(browser, &client);
    GetRectInParent(tree, browser, &place);
    place.top -= kTreeRaise;
    place.bottom += kTreeGrowth - kTreeRaise;
    MoveTo(tree, place);
    // What the tree leaves of the title would show as a sliver above it.
    if (HWND title = GetDlgItem(browser, kTitleId))
        ShowWindow(title, SW_HIDE);
    // Its foot 30 pixels above the dialog's, and clear of the buttons' row.
    int bottom = client.bottom - kStatusAboveBottom;
    if (HWND ok = GetDlgItem(browser, IDOK)) {
        RECT button{};
        GetRectInParent(ok, browser, &button);
        if (bottom > button.top - kBrowserGap)
            bottom = button.top - kBrowserGap;
    }
    GetRectInParent(status, browser, &place);
    OffsetRect(&place, 0, bottom - place.bottom);
    MoveTo(status, place);
}

// The status line shows the folder chosen, and OK is offered only for a
// folder of the file system.
void ShowSelection(HWND browser, LPCITEMIDLIST item)
{
    char path[MAX_PATH] = "";
    const bool named = item && SHGetPathFromIDListA(item, path) && path[0];
    SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(named ? path : kIncorrectLocation));
    SendMessageA(browser, BFFM_ENABLEOK, 0, named ? 1 : 0);
}

int OnBrowserEvent(HWND browser, UINT message, LPARAM parameter, const BackupFolderRequest& request)
{
    switch (message) {
    case BFFM_INITIALIZED:
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(request.path));
        SetWindowTextA(browser, request.title);
        LayOutBackupBrowser(browser);
        SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(request.path));
        SetFocus(browser);
        return 0;
    case BFFM_SELCHANGED:
        ShowSelection(browser, reinterpret_cast<LPCITEMIDLIST>(parameter));
        return 0;
    case BFFM_VALIDATEFAILEDA:
        // A typed name that is no folder keeps the browser open.
        return 1;
    default:
        return 0;
    }
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM parameter, LPARAM data)
{
    return GuardCallback(0, [&] {
        return OnBrowserEvent(browser, message, parameter, *reinterpret_cast<const BackupFolderRequest*>(data));
    });
}
}

int BrowseBackupFolder(BackupFolderRequest& request)
{
    char chosen[MAX_PATH] = "";
    BROWSEINFOA browse{};
    browse.hwndOwner = request.owner;
    browse.pszDisplayName = chosen;
    browse.lpszTitle = request.title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE | BIF_STATUSTEXT;
    browse.lpfn = &BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(&request);
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (!item)
        return 0;
    const bool named = SHGetPathFromIDListA(item, chosen) != FALSE;
    CoTaskMemFree(item);
    if (!named)
        return 0;
    CopyBounded(request.path, chosen);
    return 1;
}
