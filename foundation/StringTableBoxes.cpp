#include "foundation/StringTableBoxes.h"

#include "foundation/ResourceData.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/StringIds.h"

namespace {
int ShowSorryBox(HWND owner, UINT textId)
{
    CResourceString text;
    CResourceString caption;
    HINSTANCE module = GetModuleHandleA(nullptr);
    text.LoadString(module, textId);
    caption.LoadString(module, IDS_SORRY);
    return ShowMessageBox(owner, text.GetText(), caption.GetText(), kMbOk | kMbIconHand);
}
}

int ShowBusySendingMessage(HWND owner)
{
    return ShowSorryBox(owner, IDS_BUSY_SENDING);
}

int ShowBusySavingMessage(HWND owner)
{
    return ShowSorryBox(owner, IDS_BUSY_SAVING);
}

int ShowPasteTooLongMessage(HWND owner, DWORD)
{
    return ShowSorryBox(owner, IDS_PASTE_TOO_LONG);
}
