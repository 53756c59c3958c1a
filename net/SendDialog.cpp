#include <winsock2.h>

#include "net/SendDialog.h"

#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "net/ChatNotes.h"
#include "store/DestinationListOps.h"
#include "net/NoteSendRecords.h"
#include "net/NoteSending.h"
#include "net/NoteSendThread.h"
#include "net/bytes/SendTarget.h"
#include "note/NoteController.h"
#include "resources/ids/SendNoteIds.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"

namespace {
struct SendDialogState {
    std::string noteTitle;
    std::vector<CDestination> known;  // the list's entries, in its order
    std::vector<CDestination> chosen;
    bool chat = false;
};

SendDialogState* SendDialogStateOf(HWND dialog)
{
    return reinterpret_cast<SendDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::string DestinationItemText(const CDestination& destination)
{
    std::string text = RecipientName(destination);
    if (!destination.m_email[0] && destination.m_port)
        text += ", port " + std::to_string(destination.m_port);
    return text;
}

std::string TextOf(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void InitSendDialog(HWND dialog, SendDialogState& state)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    const std::string title = state.noteTitle.empty() ? "Send this note to one or more computers."
                                                      : "Send the note \"" + state.noteTitle + "\" to one or more computers.";
    SetDlgItemTextA(dialog, IDC_SEND_TITLE, title.c_str());
    const std::vector<CDestination> entries = CopyOfSentToList();
    HWND list = GetDlgItem(dialog, IDC_SEND_LIST);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        state.known.push_back(*entry);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DestinationItemText(*entry).c_str()));
    }
    SendDlgItemMessageA(dialog, IDC_SEND_COMPUTER, EM_LIMITTEXT, SendTargetLimit::kComputerName, 0);
    SendDlgItemMessageA(dialog, IDC_SEND_ADDRESS, EM_LIMITTEXT, SendTargetLimit::kIpAddress, 0);
    SendDlgItemMessageA(dialog, IDC_SEND_PORT, EM_LIMITTEXT, 5, 0);
    const WORD port = UserSettings().listenPort;
    SetDlgItemTextA(dialog, IDC_SEND_PORT, port ? std::to_string(port).c_str() : "");
    SetFocus(state.known.empty() ? GetDlgItem(dialog, IDC_SEND_COMPUTER) : list);
}

void RefuseSendInput(HWND dialog, const std::string& text, int focusId)
{
    ShowMessageBox(dialog, text.c_str(), ProgramTitle, kMbIconExclamation);
    HWND field = GetDlgItem(dialog, focusId);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

// The field the refusal is about.
int FieldInError(HWND dialog)
{
    const std::string name = TextOf(dialog, IDC_SEND_COMPUTER);
    if (name.find_first_not_of(" \t") != std::string::npos && !IsComputerName(name.substr(name.find_first_not_of(" \t"))))
        return IDC_SEND_COMPUTER;
    const std::string address = TextOf(dialog, IDC_SEND_ADDRESS);
    if (address.find_first_not_of(" \t") != std::string::npos)
        return IsDottedAddress(address.substr(address.find_first_not_of(" \t"))) ? IDC_SEND_PORT : IDC_SEND_ADDRESS;
    return IDC_SEND_PORT;
}

bool SameDestination(const CDestination& a, const SendTarget& b)
{
    if (!b.email.empty())
        return lstrcmpiA(a.m_email, b.email.c_str()) == 0;
    return lstrcmpiA(a.m_computerName, b.computerName.c_str()) == 0 && lstrcmpA(a.m_ipAddress, b.ipAddress.c_str()) == 0 &&
           a.m_port == b.port && !a.m_email[0];
}

void OnSendOk(HWND dialog, SendDialogState& state, bool chat)
{
    SendTarget typed;
    const std::string refusal = CheckTypedDestination(TextOf(dialog, IDC_SEND_COMPUTER), TextOf(dialog, IDC_SEND_ADDRESS),
                                                      TextOf(dialog, IDC_SEND_PORT), typed);
    if (!refusal.empty()) {
        RefuseSendInput(dialog, refusal, FieldInError(dialog));
        return;
    }
    std::vector<CDestination> chosen;
    HWND list = GetDlgItem(dialog, IDC_SEND_LIST);
    for (size_t i = 0; i < state.known.size(); ++i)
        if (SendMessageA(list, LB_GETSEL, i, 0) > 0)
            chosen.push_back(state.known[i]);
    const bool typedSomething = !typed.computerName.empty() || !typed.ipAddress.empty() || !typed.email.empty();
    bool typedIsChosen = false;
    for (const CDestination& destination : chosen)
        typedIsChosen = typedIsChosen || SameDestination(destination, typed);
    if (typedSomething && !typedIsChosen)
        chosen.emplace_back(typed.computerName.c_str(), typed.ipAddress.c_str(), "", typed.email.c_str(), "", 0, 0, 0,
                            0, typed.port);
    if (chosen.empty()) {
        RefuseSendInput(
            dialog,
            "Please choose a computer in the list, or type a computer name, an IP address or an e-mail address.",
            state.known.empty() ? IDC_SEND_COMPUTER : IDC_SEND_LIST);
        return;
    }
    state.chosen = chosen;
    state.chat = chat;
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK SendDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        switch (message) {
        case WM_INITDIALOG:
            InitSendDialog(dialog, *reinterpret_cast<SendDialogState*>(lParam));
            return FALSE;
        case WM_COMMAND:
            if ((LOWORD(wParam) == IDOK || LOWORD(wParam) == IDC_SEND_CHAT) && SendDialogStateOf(dialog)) {
                OnSendOk(dialog, *SendDialogStateOf(dialog), LOWORD(wParam) == IDC_SEND_CHAT);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    });
}
}

std::vector<CDestination> RunSendDialog(HWND owner, const char* noteTitle, bool* startChat)
{
    SendDialogState state;
    state.noteTitle = noteTitle ? noteTitle : "";
    while (!state.noteTitle.empty() && state.noteTitle.back() == ' ')
        state.noteTitle.pop_back();
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SEND_NOTE), owner,
                                           &SendDialogProc, reinterpret_cast<LPARAM>(&state));
    if (startChat)
        *startChat = result == IDOK && state.chat;
    return result == IDOK ? state.chosen : std::vector<CDestination>();
}

namespace {
// The note goes to the recipients, with its attached file while that is still there.
int SendToRecipients(CNoteController& note, std::vector<CDestination> recipients)
{
    if (recipients.empty())
        return 0;
    for (CDestination& recipient : recipients)
        recipient.m_transactionId = 0;
    const bool attach = note.m_attachedFile[0] && GetFileAttributesA(note.m_attachedFile) != INVALID_FILE_ATTRIBUTES;
    return StartNoteSend(note, recipients, attach ? note.m_attachedFile : "") ? 1 : 0;
}
}

int SendNoteTo(CNoteController& note, bool ask)
{
    std::vector<CDestination> recipients;
    if (ask) {
        bool chat = false;
        recipients = RunSendDialog(note.m_window, note.m_title, &chat);
        if (chat)
            return StartChat(note, recipients) ? 1 : 0;
    } else {
        // Without asking, the note goes again to the destinations of its last send.
        for (const CDestination& record : CopyOfTransactList())
            if (record.m_noteId == note.m_noteId && note.m_noteId != 9999)
                recipients.push_back(record);
    }
    return SendToRecipients(note, recipients);
}

int SendNoteTo(CNoteController& note, bool ask, std::vector<CDestination>& destinations)
{
    if (ask)
        destinations = RunSendDialog(note.m_window, note.m_title);
    return SendToRecipients(note, destinations);
}
