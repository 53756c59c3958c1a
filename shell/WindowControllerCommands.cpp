// The application object's commands (the tray menu and other windows) and
// the requests of a second start of the program.
#include <winsock2.h>

#include <cstdint>

#include "foundation/bytes/MessageBoxes.h"
#include "note/NoteCreation.h"
#include "shell/AboutDialog.h"
#include "shell/Favourites.h"
#include "globals/MainWindowMessages.h"
#include "shell/WindowController.h"
#include "shell/bytes/ForwardedRequest.h"
#include "shell/BackupRestore.h"

void CWindowController::ExitCommand()
{
    // Whatever box comes first (the busy one, the automatic backup's), and
    // whatever ends the program while it is up, the edits are in a file,
    // which goes again once a save has stored them.
    KeepUnstoredBeforeEnd(false);
    if (RefuseWhileBusy())
        return;
    BackupIfAutomatic();
    SendMessageA(m_mainWindow, WM_CLOSE, 0, 0);
}

void CWindowController::NewNoteCommand()
{
    CreateDefaultNote();
}

LRESULT CWindowController::OnCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case kCmdExit:
        ExitCommand();
        break;
    case kCmdNewNote:
        NewNoteCommand();
        break;
    case kCmdAbout:
        ShowAboutBox(m_mainWindow);
        break;
    case kCmdSettings:
        RunSettingsSheet(0, 0);
        break;
    default:
        if (!OnDesktopCommand(LOWORD(wParam)))
            OnControllerCommand(LOWORD(wParam));
        break;
    }
    return 0;
}

void CWindowController::OnCopyData(WPARAM flag, const COPYDATASTRUCT* data)
{
    if (!data)
        return;
    ReceivedRequest request = ReadForwardedRequest(static_cast<std::uint32_t>(data->dwData), data->lpData,
                                                   data->cbData);
    if (!request.valid)
        return;
    // The handlers take the text as a request of its own, bounded and terminated.
    COPYDATASTRUCT checked{data->dwData, static_cast<DWORD>(request.text.size() + 1),
                           const_cast<char*>(request.text.c_str())};
    switch (request.code) {
    case kRequestNewNote:
        OnNewNoteRequest(request.text.data(), static_cast<DWORD>(request.text.size()));
        break;
    case kRequestSend:
        SendFromCommandLine(&checked, 0);
        break;
    case kRequestSendDirect:
        SendFromCommandLine(&checked, 1);
        break;
    case kRequestBackup:
        BackupFromCommandLine(&checked);
        break;
    case kRequestImport:
        RestoreFromCommandLine(*this, request.text.c_str(), 1, flag != 0);
        break;
    case kRequestReplace:
        RestoreFromCommandLine(*this, request.text.c_str(), 2, flag != 0);
        break;
    case kRequestAppend:
        AppendFromCommandLine(&checked, flag);
        break;
    case kRequestAddToFavourites:
        AddToFavourites(&checked);
        break;
    case kRequestClose:
        PostMessageA(m_mainWindow, WM_COMMAND, kCmdExit, 0);
        break;
    default:
        break;
    }
}
