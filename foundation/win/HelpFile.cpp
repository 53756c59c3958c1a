#include "foundation/win/HelpFile.h"

#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
}

HWND OpenHelpWindow(UINT command, DWORD_PTR data)
{
    static HMODULE library = LoadLibraryA("hhctrl.ocx");
    auto help = library ? reinterpret_cast<HtmlHelpFunction>(GetProcAddress(library, "HtmlHelpA")) : nullptr;
    if (!help)
        return nullptr;
    return help(GetDesktopWindow(), ProgramFilePath(DataName::kHelpFile).c_str(), command, data);
}

bool ShowHelpTopic(HWND owner, DWORD context)
{
    if (OpenHelpWindow(kHelpContext, context))
        return true;
    ShowErrorMessage(owner, "Unable to activate help", ProgramTitle);
    return false;
}

void OpenHelpOnTop(HWND owner, UINT command, DWORD_PTR data)
{
    if (HWND help = OpenHelpWindow(command, data)) {
        SetWindowPos(help, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        return;
    }
    ShowMessageBox(owner, "Unable to activate help", "", kMbIconHand);
}
