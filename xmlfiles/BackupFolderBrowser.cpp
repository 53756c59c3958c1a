#include "xmlfiles/BackupFolderBrowser.h"

#include <shlobj.h>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/BoundedCopy.h"

namespace {
const char kIncorrectLocation[] = "Sorry, this is an incorrect BACKUP location";

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
