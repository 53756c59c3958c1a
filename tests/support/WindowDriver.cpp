// The window side of the program driver: finding windows, reading their
// texts and answering message boxes, across processes.
#include <windows.h>
#include <commctrl.h>

#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "support/ProgramDriver.h"

namespace {
struct WindowSearch {
    const char* className;
    DWORD processId;
    HWND found;
    const char* title;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    if (search->processId) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->processId)
            return TRUE;
    }
    if (WindowClassOf(window) != search->className)
        return TRUE;
    if (search->title && ReadWindowText(window) != search->title)
        return TRUE;
    search->found = window;
    return FALSE;
}

struct ClassSearch {
    const char* className;
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOfClass(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<ClassSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && WindowClassOf(window) == search->className)
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter)
{
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}
}

void PumpMessagesBriefly()
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG message;
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::vector<HWND> TopWindowsOf(DWORD processId, const char* className)
{
    ClassSearch search{className, processId, {}};
    EnumWindows(&CollectOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopWindow(const char* className, DWORD processId)
{
    return FindTopWindowTitled(className, nullptr, processId);
}

HWND FindTopWindowTitled(const char* className, const char* title, DWORD processId)
{
    WindowSearch search{className, processId, nullptr, title};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD timeoutMs)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer))
        return false;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return true;
}

namespace {
// The messages sent in order whose answer has not come, by their number, with
// the window each went to. Only the test's own thread sends them, and their
// answers come to it while it handles its messages.
std::map<ULONG_PTR, HWND>& UnansweredSends()
{
    static std::map<ULONG_PTR, HWND> unanswered;
    return unanswered;
}

void CALLBACK SendAnswered(HWND, UINT, ULONG_PTR number, LRESULT)
{
    UnansweredSends().erase(number);
}
}

bool SendInOrder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Listed before it goes: a window of this thread answers at once.
    static ULONG_PTR sent = 0;
    UnansweredSends()[++sent] = window;
    if (SendMessageCallbackA(window, message, wParam, lParam, &SendAnswered, sent))
        return true;
    UnansweredSends().erase(sent);
    return false;
}

bool AllSentHandled()
{
    // A window that has gone answers nothing more.
    std::map<ULONG_PTR, HWND>& unanswered = UnansweredSends();
    for (auto send = unanswered.begin(); send != unanswered.end();)
        send = IsWindow(send->second) ? std::next(send) : unanswered.erase(send);
    return unanswered.empty();
}

bool WaitUntilSentHandled(DWORD timeoutMs)
{
    return WaitUntil(AllSentHandled, timeoutMs);
}

std::string ReadWindowText(HWND window)
{
    LRESULT length = 0;
    if (!SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0)
        return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, 0);
    LRESULT copied = 0;
    SendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied);
    return std::string(text.data(), static_cast<size_t>(copied) < text.size() ? static_cast<size_t>(copied) : 0);
}

EditSelection ReadSelection(HWND edit)
{
    LRESULT packed = 0;
    if (!SendWithTimeout(edit, EM_GETSEL, 0, 0, &packed))
        return {-1, -1};
    return {LOWORD(packed), HIWORD(packed)};
}

ShownMessageBox WaitForMessageBox(DWORD processId, DWORD timeoutMs, const char* caption)
{
    ShownMessageBox box;
    WaitUntil([&] { return (box.window = FindTopWindowTitled("#32770", caption, processId)) != nullptr; },
              timeoutMs);
    if (!box.window)
        return box;
    box.caption = ReadWindowText(box.window);
    // The message is the box's longest static text (the icon is a static too).
    for (HWND child : ChildrenOf(box.window)) {
        if (WindowClassOf(child) != "Static")
            continue;
        std::string text = ReadWindowText(child);
        if (text.size() > box.text.size())
            box.text = text;
    }
    return box;
}

bool AnswerMessageBox(const ShownMessageBox& box, int buttonId)
{
    HWND button = GetDlgItem(box.window, buttonId);
    if (!button || !IsWindowVisible(button))
        return false;
    return PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != 0 &&
           WaitUntil([&] { return !IsWindow(box.window); });
}

bool ProgramBoxShown(DWORD processId)
{
    return FindTopWindowTitled("#32770", "Quillnet+", processId) != nullptr;
}

bool PressSheetButton(HWND sheet, int button)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
    return WaitUntil([&] { return !IsWindow(sheet); });
}

bool AnswerColourDialog(DWORD processId, const char* title, COLORREF colour)
{
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", title, processId)) != nullptr; }))
        return false;
    // The red, green and blue fields of the system's colour dialog.
    const int fields[3] = {706, 707, 708};
    const BYTE values[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    for (int i = 0; i < 3; ++i) {
        HWND edit = GetDlgItem(dialog, fields[i]);
        if (!edit)
            return false;
        const std::string text = std::to_string(values[i]);
        SendWithTimeout(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(fields[i], EN_UPDATE), reinterpret_cast<LPARAM>(edit));
    }
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return WaitUntil([&] { return !IsWindow(dialog); });
}

std::string AcknowledgeProgramBox(DWORD processId)
{
    return AnswerProgramBox(processId, IDOK);
}

std::string AnswerProgramBox(DWORD processId, int buttonId)
{
    ShownMessageBox box = WaitForMessageBox(processId, kDriverWaitMs, "Quillnet+");
    if (!box.window)
        return "(no box)";
    AnswerMessageBox(box, buttonId);
    return box.text;
}

namespace {
GUITHREADINFO ThreadInfoOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return GUITHREADINFO{};
    return info;
}
}

HWND FocusedWindowOf(HWND window)
{
    return ThreadInfoOf(window).hwndFocus;
}

HWND CaptureOf(HWND window)
{
    return ThreadInfoOf(window).hwndCapture;
}

void PressLeftButton(bool down)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

void LetGoOfLeftButtonAside()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    PressLeftButton(false);
}

namespace {
// A pointer event at a point of the screen, which absolute events count from
// 0 to 65535 on each axis.
INPUT PointerEventAt(POINT point, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// The button pressed and let go where the pointer was put, as a person's
// click carries its own place. A button event without one lands wherever
// Wine has the pointer when it comes, and the program may have put it back
// meanwhile: reading X's late notice of the pointer's earlier place (see
// docs/platform.md, "Keys pressed by the tests") moves Wine's pointer there,
// and the click then went to the window that was clicked before.
void ClickWithButton(POINT point, DWORD down, DWORD up)
{
    SetCursorPos(point.x, point.y);
    INPUT clicks[2] = {PointerEventAt(point, down), PointerEventAt(point, up)};
    SendInput(2, clicks, sizeof clicks[0]);
}
}

void MovePointerTo(POINT point)
{
    INPUT input = PointerEventAt(point, 0);
    SendInput(1, &input, sizeof input);
}

void ClickAt(POINT point)
{
    ClickWithButton(point, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

void RightClickAt(POINT point)
{
    ClickWithButton(point, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}
