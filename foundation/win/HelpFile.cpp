#include "foundation/win/HelpFile.h"

#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
const UINT kHelpContextCommand = 0x000F;
}

bool ShowHelpTopic(HWND owner, DWORD context)
{
    // HTML Help is loaded only when a help button is pressed, and stays loaded.
    static HMODULE library = LoadLibraryA("hhctrl.ocx");
    auto help = library ? reinterpret_cast<HtmlHelpFunction>(GetProcAddress(library, "HtmlHelpA")) : nullptr;
    if (help && help(GetDesktopWindow(), ProgramFilePath(DataName::kHelpFile).c_str(), kHelpContextCommand, context))
        return true;
    ShowErrorMessage(owner, "Unable to activate help", ProgramTitle);
    return false;
}
