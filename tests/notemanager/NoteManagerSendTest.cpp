// Sending from the Note Manager of the real program: the notes chosen go one
// after the other to the destinations chosen for the first; while a send is
// under way the window refuses Close, and a note deleted meanwhile is
// skipped without harm.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "globals/MainWindowMessages.h"
#include "note/NoteMessages.h"
#include "notemanager/NoteManagerDriving.h"
#include "resources/ids/NoteManagerIds.h"
#include "resources/ids/SendNoteIds.h"
#include "support/NoteDriving.h"

namespace {
const char kSendCaption[] = "Send note to a computer or email address";

// A port on 127.0.0.1 that takes connections but never answers them: a
// send to it waits until the port closes.
class SilentPort {
public:
    SilentPort()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        port = FindFreePort();
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        listening = bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                    listen(m_socket, 4) == 0;
    }
    ~SilentPort()
    {
        Close();
        WSACleanup();
    }
    void Close()
    {
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
    unsigned short port = 0;
    bool listening = false;

private:
    SOCKET m_socket = INVALID_SOCKET;
};

bool IsTransmitting(HWND note)
{
    LRESULT answer = 0;
    return SendWithTimeout(note, kMsgNoteIsTransmitting, 0, 0, &answer) && answer != 0;
}
}

TEST(NoteManagerSend, ANoteDeletedWhileTheSelectionIsSentIsSkipped)
{
    ProgramInstall install("nmsend");
    install.AddInstalledDataFiles();
    StoreTestNotes(install, {{"Send one"}, {"Send two"}, {"Send three"}});
    SilentPort silent;
    ASSERT_TRUE(silent.listening);

    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    NoteManagerWindow manager(process);
    ASSERT_NE(manager.OpenFromTrayListing(program, 4), nullptr);
    HWND first = WaitForNoteWithText(process, "Send one");
    HWND second = WaitForNoteWithText(process, "Send two");
    ASSERT_TRUE(first && second);

    manager.SelectTitles({"Send one", "Send two", "Send three"});
    manager.Command(ID_NM_SEND);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", kSendCaption, process)) != nullptr; }));
    SendWithTimeout(GetDlgItem(dialog, IDC_SEND_ADDRESS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("127.0.0.1"));
    const std::string port = std::to_string(silent.port);
    SendWithTimeout(GetDlgItem(dialog, IDC_SEND_PORT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(port.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsTransmitting(first); }));

    // Close is refused while the first note is on its way; the second note goes.
    manager.Command(IDCANCEL);
    PostMessageA(second, WM_COMMAND, kNoteCmdDelete, 0);
    EXPECT_TRUE(WaitUntil([&] {
        ShownMessageBox box = WaitForMessageBox(process, 50, "Quillnet+");
        if (box.window)
            AnswerMessageBox(box, IDYES);
        return manager.RowOfTitle("Send two") < 0;
    }));
    EXPECT_TRUE(IsWindow(manager.Window()));
    silent.Close();
    EXPECT_TRUE(WaitUntil([&] { return !IsTransmitting(first); }));
    // The third note has been tried after the deleted one, and the window is still there.
    HWND third = WaitForNoteWithText(process, "Send three");
    EXPECT_TRUE(WaitUntil([&] { return !IsTransmitting(third); }));
    EXPECT_TRUE(program.IsRunning());
    EXPECT_EQ(manager.Rows(), 3);
    manager.SelectTitles({"Send three"});
    EXPECT_TRUE(WaitUntil([&] { return manager.StatusText().find(", Sent to 127.0.0.1 on ") != std::string::npos; }))
        << manager.StatusText();
    ASSERT_TRUE(manager.Close());
    CloseProgram(install, program);
}
