// The running program's answers to what other windows and a second start ask
// of its main window: a port held by another program at start, help,
// undeleting a note, and the calendar's question about the days that hold
// alarms.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "foundation/DateTime.h"
#include "note/NoteController.h"
#include "globals/MainWindowMessages.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
// A listening socket on 127.0.0.1 at the port, held while the object lives.
class HeldPort {
public:
    explicit HeldPort(unsigned short port)
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        m_held = bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                 listen(m_socket, 1) == 0;
    }
    ~HeldPort()
    {
        closesocket(m_socket);
        WSACleanup();
    }
    HeldPort(const HeldPort&) = delete;
    HeldPort& operator=(const HeldPort&) = delete;
    bool IsHeld() const { return m_held; }

private:
    SOCKET m_socket = INVALID_SOCKET;
    bool m_held = false;
};

// A note of the user with an alarm on the day, written before the program starts.
void StoreRequestAlarmNote(const std::string& folder, const CDateTime& alarm)
{
    CurrentFolder data(folder);
    NotesFreeSlots().Clear();
    CNoteController note;
    note.m_userId = 1;
    note.m_left = 40;
    note.m_top = 40;
    note.m_width = 220;
    note.m_height = 140;
    note.m_bodyColor = RGB(255, 255, 170);
    note.m_titleColor = RGB(255, 230, 90);
    lstrcpynA(note.m_title, "Dentist", sizeof note.m_title);
    note.m_alarmSet = true;
    note.m_alarm = alarm;
    static const char text[] = "{\\rtf1\\ansi Appointment with the dentist}";
    note.SetRichText(text, sizeof text - 1);
    SaveNote(note);
}

// The calendar asks with the address of a date in the program's own memory.
LRESULT AskAlarmOnDate(HWND main, DWORD process, const CDateTime& date)
{
    HANDLE handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
    if (!handle)
        return -1;
    void* remote = VirtualAllocEx(handle, nullptr, sizeof date, MEM_COMMIT, PAGE_READWRITE);
    LRESULT answer = -1;
    SIZE_T written = 0;
    if (remote && WriteProcessMemory(handle, remote, &date, sizeof date, &written) && written == sizeof date)
        SendWithTimeout(main, kMsgHasAlarmOnDate, 0, reinterpret_cast<LPARAM>(remote), &answer);
    if (remote)
        VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
    CloseHandle(handle);
    return answer;
}

// The box that the message makes the program show, answered. The message is
// sent from a thread of its own, as it returns only once the box is gone.
ShownMessageBox BoxAfterSending(HWND main, DWORD process, UINT message, WPARAM wParam, LPARAM lParam,
                                const char* screenshot = nullptr)
{
    std::thread sender([=] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, message, wParam, lParam, SMTO_NORMAL, kDriverWaitMs, &result);
    });
    ShownMessageBox box = WaitForMessageBox(process);
    if (box.window) {
        if (screenshot)
            SaveScreenshotOf(box.window, screenshot);
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }
    sender.join();
    return box;
}
}

TEST(MainWindowRequests, TheProgramRunsOnWithoutWhatItCannotDoAndAnswersForItsNotes)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const CDateTime alarmDay(15, 3, 2035, 9, 30);
    StoreRequestAlarmNote(install.Path(), alarmDay);

    // Another program holds the listening port: the start says so and goes on.
    HeldPort held(install.ListenPort());
    ASSERT_TRUE(held.IsHeld());
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    ShownMessageBox portBox = WaitForMessageBox(process);
    ASSERT_NE(portBox.window, nullptr);
    EXPECT_EQ(portBox.caption, "Quillnet+");
    EXPECT_EQ(portBox.text.rfind("Quillnet+ cannot listen on port " + std::to_string(install.ListenPort()) + ":", 0),
              0u)
        << portBox.text;
    SaveScreenshotOf(portBox.window, "port-in-use");
    EXPECT_TRUE(AnswerMessageBox(portBox, IDOK));
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.SendPort()); }));

    // No help file ships with the program: help from the tray menu and F1 say so.
    ShownMessageBox help = BoxAfterSending(main, process, WM_COMMAND, kCmdHelp, 0, "help-unavailable");
    EXPECT_EQ(help.text, "Unable to activate help");
    EXPECT_EQ(help.caption, "");
    HELPINFO f1{sizeof f1, HELPINFO_WINDOW, 0, main, 0, {0, 0}};
    help = BoxAfterSending(main, process, WM_HELP, 0, reinterpret_cast<LPARAM>(&f1));
    EXPECT_EQ(help.text, "Unable to activate help");

    // The calendar's question: the alarm note's day, and no other.
    EXPECT_EQ(AskAlarmOnDate(main, process, alarmDay), 1);
    EXPECT_EQ(AskAlarmOnDate(main, process, CDateTime(16, 3, 2035)), 0);
    EXPECT_EQ(AskAlarmOnDate(main, process, CDateTime(15, 3, 2036)), 0);

    // A deleted note comes back when its object is named; a name the program
    // does not know changes nothing.
    HWND note = NewNoteFromCommandLine(install, process, "undelete me");
    ASSERT_NE(note, nullptr);
    const LPARAM object = GetWindowLongPtrA(BodyOf(note), GWLP_USERDATA);
    ASSERT_NE(object, 0);
    ASSERT_TRUE(DeleteNoteWindow(note, process));
    ASSERT_TRUE(SendWithTimeout(main, kMsgUndeleteNote, 0, object + 8));
    EXPECT_FALSE(IsWindowVisible(note));
    // The note is hidden before the deletion is over: asked until it is
    // among the deleted notes, it comes back once.
    EXPECT_TRUE(WaitUntil([&] {
        return SendWithTimeout(main, kMsgUndeleteNote, 0, object) && IsWindowVisible(note) != FALSE;
    }));
    EXPECT_EQ(ReadWindowText(BodyOf(note)), "undelete me");

    CloseProgram(install, program);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
}
