// The application object's answers to commands, private messages and the
// requests of a second start.
#include <cstdint>

#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/StringIds.h"
#include "shell/MainWindowMessages.h"
#include "shell/WindowController.h"
#include "shell/bytes/ForwardedRequest.h"
#include "store/bytes/DeletedRecordList.h"

namespace {
void ShowBusyMessage(HWND owner, UINT textId)
{
    char text[200] = "";
    char caption[50] = "";
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    LoadStringA(instance, textId, text, sizeof text);
    LoadStringA(instance, IDS_SORRY, caption, sizeof caption);
    ShowMessageBox(owner, text, caption, kMbIconHand);
}
}

void CWindowController::ExitCommand()
{
    if (AnyNoteTransmitting()) {
        ShowBusyMessage(m_mainWindow, IDS_BUSY_SENDING);
        return;
    }
    if (IsMainWindowBusySaving(m_mainWindow)) {
        ShowBusyMessage(m_mainWindow, IDS_BUSY_SAVING);
        return;
    }
    SendMessageA(m_mainWindow, WM_CLOSE, 0, 0);
}

LRESULT CWindowController::OnCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case kCmdExit:
        ExitCommand();
        break;
    default:
        break;
    }
    return 0;
}

void CWindowController::OnCopyData(WPARAM, const COPYDATASTRUCT* data)
{
    if (!data)
        return;
    ReceivedRequest request = ReadForwardedRequest(static_cast<std::uint32_t>(data->dwData), data->lpData,
                                                   data->cbData);
    if (!request.valid)
        return;
    switch (request.code) {
    case kRequestClose:
        PostMessageA(m_mainWindow, WM_COMMAND, kCmdExit, 0);
        break;
    default:
        break;
    }
}

bool CWindowController::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    (void)lParam;
    std::intptr_t answer = 0;
    switch (message) {
    case kNotesFirstDeletedMessage:
    case kTransactFirstDeletedMessage:
        AnswerDeletedListMessage(message, wParam, m_notesTable.DeletedList(), m_transactTable.DeletedList(), answer);
        result = answer;
        return true;
    case kNotesRemoveDeletedMessage:
    case kNotesAddDeletedMessage:
    case kTransactAddDeletedMessage:
    case kTransactRemoveDeletedMessage:
        // These also pass on to the default procedure.
        AnswerDeletedListMessage(message, wParam, m_notesTable.DeletedList(), m_transactTable.DeletedList(), answer);
        return false;
    case kMsgCloseProgram:
        SendMessageA(m_mainWindow, WM_CLOSE, 0, 0);
        result = 0;
        return true;
    case kMsgIsBusySaving:
        result = m_busySaving;
        return true;
    default:
        return false;
    }
}
