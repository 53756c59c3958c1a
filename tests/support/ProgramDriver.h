#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/TempFolder.h"

// Drives the real qnpost.exe from outside, as a user meets it: the program runs
// in a folder the test makes, its windows are found by class, their texts read,
// messages sent or posted to them, its message boxes found and answered, and its
// end awaited. Every wait is bounded and polls; none sleeps for a fixed time.

// The longest any single wait of a test may take. Generous, so that a slow
// machine never fails a test; a fault still ends the wait.
const DWORD kDriverWaitMs = 30000;

// A fresh program folder: a copy of qnpost.exe beside the data the test puts
// there. Without "/u=" the program keeps its data files in its own folder.
class ProgramInstall {
public:
    explicit ProgramInstall(const char* hint = "program");
    // The program's error.txt is kept when the test has failed.
    ~ProgramInstall();
    ProgramInstall(const ProgramInstall&) = delete;
    ProgramInstall& operator=(const ProgramInstall&) = delete;

    const std::string& Path() const { return m_folder.Path(); }
    std::string File(const std::string& name) const { return m_folder.File(name); }

    // The data files of a new installation, as the build writes them: the
    // "UPGRADE" set and the "QlData" template folder.
    void AddUpgradeSet();
    void AddTemplateFolder();
    // The data files already installed in the program folder itself.
    void AddInstalledDataFiles();

    // The listening ports written into the settings tables the install holds:
    // free ones, chosen when the install is made, so that programs of tests
    // running side by side never meet on a port.
    unsigned short ListenPort() const { return m_ports[0]; }
    unsigned short SendPort() const { return m_ports[1]; }

private:
    void UseOwnPorts(const std::string& settingsTable);

    TempFolder m_folder;
    unsigned short m_ports[2] = {0, 0};
};

// A port on 127.0.0.1 that nothing listens on at the moment.
unsigned short FindFreePort();
// Whether something accepts connections on 127.0.0.1 at the port.
bool PortAcceptsConnections(unsigned short port);

// Held while a test runs the program or makes windows of the program's main
// class: test programs run side by side, and only one such window may exist
// in the session at a time. Taken again by the same thread, it nests.
class ExclusiveProgramRun {
public:
    ExclusiveProgramRun();
    ~ExclusiveProgramRun();
    ExclusiveProgramRun(const ExclusiveProgramRun&) = delete;
    ExclusiveProgramRun& operator=(const ExclusiveProgramRun&) = delete;

private:
    HANDLE m_lock = nullptr;
};

// One run of qnpost.exe with a command line, started in the install's folder.
// Runs of the program are serialised between test programs, since only one
// instance may run per session. An instance still running when the object goes
// is ended (it is the test's own process).
class RunningProgram {
public:
    RunningProgram(const ProgramInstall& install, const std::string& arguments);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    DWORD ProcessId() const { return m_info.dwProcessId; }
    bool IsRunning() const;
    // True with the exit code once the process has ended within the bound.
    bool WaitForExit(DWORD* exitCode, DWORD timeoutMs = kDriverWaitMs);
    // Ended at once, as a crash ends it: no step of its own runs after this
    // call, and the process has gone once it returns (within the bound).
    void EndAsACrash();
    // A top-level window of the process with that class, once it exists.
    HWND WaitForWindow(const char* className, DWORD timeoutMs = kDriverWaitMs) const;

private:
    ExclusiveProgramRun m_exclusive;
    PROCESS_INFORMATION m_info{};
};

// Waits a few milliseconds while handling the messages of the test's own
// windows, so that a program that sends to them is answered.
void PumpMessagesBriefly();

// Polls the condition every few milliseconds until it holds or the time is up;
// answers whether it held.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kDriverWaitMs)
{
    const DWORD start = GetTickCount();
    for (unsigned round = 0; round < 100000; ++round) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        PumpMessagesBriefly();
    }
    return false;
}

// Every top-level window of the process with the class, shown or not, in the
// system's order (the newest first).
std::vector<HWND> TopWindowsOf(DWORD processId, const char* className);
// Windows of any process: a top-level window of the class (of the process
// when one is given), null when there is none.
HWND FindTopWindow(const char* className, DWORD processId = 0);
// The same with that title too (null: any title).
HWND FindTopWindowTitled(const char* className, const char* title, DWORD processId = 0);
std::string WindowClassOf(HWND window);
// The window's text by WM_GETTEXT, also across processes and of a RichEdit.
std::string ReadWindowText(HWND window);
// An edit control's selection, read with EM_GETSEL, which does not move it
// (a read that sets the selection, made while keys still wait in the
// program's queue, would send the keys that follow elsewhere); -1 and -1
// when the control did not answer.
struct EditSelection {
    LONG first;
    LONG last;
    bool operator==(const EditSelection& other) const { return first == other.first && last == other.last; }
};
EditSelection ReadSelection(HWND edit);
// The window of the other window's thread that has the keyboard focus, and
// the one that has captured the mouse; null for none.
HWND FocusedWindowOf(HWND window);
HWND CaptureOf(HWND window);
// The left mouse button pressed or let go where the pointer is, as the
// user's hand does it.
void PressLeftButton(bool down);
// The left button let go with the pointer moved first to the screen's bottom
// right corner, where no test puts a window: a release that the program reads
// late, inside a menu it opened meanwhile, would choose the item under it.
void LetGoOfLeftButtonAside();
// The pointer moved to the point of the screen as the user's hand moves it:
// the window there is told of the move, with what the system finds there.
void MovePointerTo(POINT point);
// The pointer moved to the point of the screen and the left button clicked
// there, as the user's hand does it.
void ClickAt(POINT point);
// The same with the right button.
void RightClickAt(POINT point);
// SendMessage with a bound, so a hung program fails the test instead of
// holding it; false when the window did not answer in time.
bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr,
                     DWORD timeoutMs = kDriverWaitMs);
// The message sent without waiting for its answer: the program handles it in
// order with what this thread sends it later (a posted message would come
// after those), and the test goes on at once, also while a box that the
// message opened is up. False when it could not be sent.
bool SendInOrder(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Whether the program has handled every message sent in order so far (or its
// window has gone), as of now.
bool AllSentHandled();
// Waits until the program has handled every message sent in order so far (or
// its window has gone); false when one was still unhandled at the end of the
// time.
bool WaitUntilSentHandled(DWORD timeoutMs = kDriverWaitMs);

// A message box of the program: a dialog of class "#32770" on the screen.
struct ShownMessageBox {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};
// The first message box of the process, once one is shown (window null when
// none came within the time); with a caption, only a box of that caption
// counts (the program's own dialogs are of the same class).
ShownMessageBox WaitForMessageBox(DWORD processId, DWORD timeoutMs = kDriverWaitMs, const char* caption = nullptr);
// Presses the button with that id (IDOK, IDYES, IDNO, ...) of the box and
// waits until the box has gone, so that the next box looked for is not this
// one still closing; false when the box has no such button or stays.
bool AnswerMessageBox(const ShownMessageBox& box, int buttonId);
// Waits for the program's own box (captioned "Quillnet+"), presses OK and waits
// until it has gone; its text, or "(no box)" when none came.
std::string AcknowledgeProgramBox(DWORD processId);
// The same with another button of the box (IDYES, IDNO, ...).
std::string AnswerProgramBox(DWORD processId, int buttonId);
// Whether a box of the program (captioned "Quillnet+") is up at the moment.
bool ProgramBoxShown(DWORD processId);
// The system's colour dialog of the process, once it shows with that title,
// given the colour in its red, green and blue fields and closed by OK; false
// when it did not come or go within the time.
bool AnswerColourDialog(DWORD processId, const char* title, COLORREF colour);
// A button of a property sheet (PSBTN_OK, PSBTN_CANCEL, ...) pressed; true
// once the sheet has closed within the time.
bool PressSheetButton(HWND sheet, int button);
