#include "shell/BackupDialogButtons.h"

#include "foundation/win/HelpFile.h"
#include "resources/ids/RestoreIds.h"

bool OnYesNoHelp(HWND dialog, UINT message, WPARAM wParam, DWORD helpTopic)
{
    if (message == WM_HELP || (message == WM_COMMAND && LOWORD(wParam) == IDC_BACKUP_HELP)) {
        ShowHelpTopic(dialog, helpTopic);
        return true;
    }
    if (message != WM_COMMAND || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL))
        return false;
    EndDialog(dialog, LOWORD(wParam) == IDOK ? 1 : 0);
    return true;
}
