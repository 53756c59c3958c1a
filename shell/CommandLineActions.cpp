// What the running program does with a second start's requests that make or
// change notes: send a note, append to a note, add to the favourites.
#include <winsock2.h>

#include <richedit.h>

#include <cstring>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "resources/ids/HotkeyIds.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteFileText.h"
#include "shell/NoteLists.h"
#include "shell/WindowController.h"

namespace {
const char kSeparator[] = "!#%@";
const size_t kPathLimit = 259;

// The request's bytes up to the first zero.
std::string RequestString(const COPYDATASTRUCT* request)
{
    if (!request || !request->lpData || !request->cbData)
        return std::string();
    std::string text(static_cast<const char*>(request->lpData), request->cbData);
    text.resize(std::strlen(text.c_str()));
    return text;
}

void AppendToErrorFile(const std::string& text)
{
    HANDLE file = CreateFileA(DataName::kCommandLineSendErrors, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// "\r" and "\n" typed as two characters become a line break.
std::string WithLineBreaks(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'r' || text[i + 1] == 'n')) {
            result += text[i + 1] == 'r' ? '\r' : '\n';
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string TrimmedRight(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

std::string CommandLineText(UINT id, int limit)
{
    char text[128] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, limit < 128 ? limit : 128);
    return text;
}
}

void CWindowController::SendFromCommandLine(const COPYDATASTRUCT* request, int mode)
{
    const std::string text = RequestString(request);
    if (text.empty())
        return;
    DeleteFileA(DataName::kCommandLineSendErrors);
    const size_t first = text.find(kSeparator);
    if (first == std::string::npos) {
        AppendToErrorFile("Invalid command line??\r\n" + text);
        ShowMessageBox(m_mainWindow, "invalid command line ??", ProgramTitle, kMbIconInformation);
        return;
    }
    const std::string destination = text.substr(0, first).substr(0, kPathLimit);
    std::string body = text.substr(first + 4);
    std::string attachment;
    const size_t second = body.find(kSeparator);
    if (second != std::string::npos) {
        attachment = TrimmedRight(body.substr(second + 4).substr(0, kPathLimit));
        body.resize(second);
    }
    if (!attachment.empty() && GetFileAttributesA(attachment.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const std::string missing = CommandLineText(IDS_CMDLINE_ATTACHMENT_MISSING, 70);
        AppendToErrorFile(missing + text + "\r\n" + destination + "\r\n" + attachment);
        ShowMessageBox(m_mainWindow, missing.c_str(), attachment.c_str(), kMbIconHand);
        return;
    }
    std::string noteText;
    if (!ReadFileStart(body.c_str(), noteText))
        noteText = WithLineBreaks(body);
    CNoteController* note =
        CreateNoteWithText(true, 0, 0, noteText.c_str(), static_cast<DWORD>(noteText.size()));
    // Only the note just made is sent: a refused creation sends nothing.
    if (!note || !note->m_window) {
        AppendToErrorFile("The note could not be created\r\n" + text);
        return;
    }
    if (destination.empty())
        return;
    std::string target = destination;
    if (!attachment.empty())
        target += kSeparator + attachment;
    SendMessageA(note->m_window, kNoteMsgSendToDestination, static_cast<WPARAM>(mode),
                 reinterpret_cast<LPARAM>(target.c_str()));
}

void CWindowController::AppendFromCommandLine(const COPYDATASTRUCT* request, WPARAM kind)
{
    const std::string requestText = RequestString(request);
    if (requestText.empty())
        return;
    std::string text = requestText;
    if (kind == 1) {
        std::string fileText;
        if (ReadFileStart(requestText.c_str(), fileText))
            text = fileText;
    }
    CNoteController* target = LastNote();
    if (!target || target->m_hidden || !target->m_window)
        target = FirstShownNote(m_ourNotes);
    if (!target || !target->m_window || !target->m_bodyEdit) {
        const std::string message = "Sorry, right now there is no visible note where the\r\n " + requestText +
                                    "  shortcut can be appended.\r\n\r\n  Please make sure that there is at least "
                                    "one visible note and then please try again.";
        ShowMessageBox(GetForegroundWindow(), message.c_str(), ProgramTitle, kMbIconHand);
        return;
    }
    GETTEXTLENGTHEX length{GTL_DEFAULT, CP_ACP};
    const LRESULT end = SendMessageA(target->m_bodyEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    SendMessageA(target->m_bodyEdit, EM_SETSEL, end, end);
    SendMessageA(target->m_bodyEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    SetWindowPos(target->m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    target->m_raised = true;
    target->SetModified();
    SendMessageA(target->m_window, WM_NCPAINT, 1, 0);
}
