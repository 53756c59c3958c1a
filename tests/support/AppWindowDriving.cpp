#include "support/AppWindowDriving.h"

#include <gtest/gtest.h>

#include "note/NoteMessages.h"
#include "resources/ids/AssociateNoteIds.h"
#include "support/KeyPresses.h"
#include "support/ProgramDriver.h"

const char kHelperAppTitle[] = "Helper editor - plans.txt";

namespace {
const char kAssocDialogTitle[] = "Associate note with applications";
const UINT kFreeze = WM_APP + 1;

bool IsLineSelected(HWND dialog, int line)
{
    LRESULT selected = 0;
    return SendWithTimeout(AssociateListOf(dialog), LB_GETSEL, line, 0, &selected) && selected > 0;
}
}

HelperAppWindow::HelperAppWindow()
{
    m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thaw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, &HelperAppWindow::Run, this, 0, nullptr);
    WaitForSingleObject(m_ready, 30000);
}

HelperAppWindow::~HelperAppWindow()
{
    SetEvent(m_thaw);
    // A window the user closed has ended its thread already.
    if (m_window && IsWindow(m_window))
        PostMessageA(m_window, WM_CLOSE, 0, 0);
    WaitForSingleObject(m_thread, 30000);
    CloseHandle(m_thread);
    CloseHandle(m_ready);
    CloseHandle(m_thaw);
}

void HelperAppWindow::Freeze()
{
    PostMessageA(m_window, kFreeze, 0, 0);
}

bool HelperAppWindow::CloseWithKeys()
{
    SetForegroundWindow(m_window);
    if (!WaitUntil([&] { return GetForegroundWindow() == m_window; }))
        return false;
    PressKeys({VK_MENU, VK_F4});
    return WaitUntil([&] { return !IsWindow(m_window); });
}

LRESULT CALLBACK HelperAppWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kFreeze) {
        auto* self = reinterpret_cast<HelperAppWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        WaitForSingleObject(self->m_thaw, 60000);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI HelperAppWindow::Run(void* context)
{
    auto* self = static_cast<HelperAppWindow*>(context);
    // No class icon: the dialog must ask the window for one.
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &HelperAppWindow::Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "QnTestHelperEditor";
    RegisterClassA(&windowClass);
    self->m_window = CreateWindowExA(0, windowClass.lpszClassName, kHelperAppTitle, WS_OVERLAPPEDWINDOW, 600, 400,
                                     300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrA(self->m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    ShowWindow(self->m_window, SW_SHOWNOACTIVATE);
    SetEvent(self->m_ready);
    MSG message;
    for (int i = 0; i < 10000000 && GetMessageA(&message, nullptr, 0, 0) > 0; ++i) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

std::vector<std::string> ListBoxLines(HWND list)
{
    std::vector<std::string> lines;
    LRESULT count = 0;
    if (!SendWithTimeout(list, LB_GETCOUNT, 0, 0, &count))
        return lines;
    for (int i = 0; i < count && i < 200; ++i) {
        // Across processes Wine hands the line back in UTF-16.
        wchar_t text[512] = L"";
        LRESULT length = 0;
        if (SendWithTimeout(list, LB_GETTEXTLEN, i, 0, &length) && length < 255)
            SendWithTimeout(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        const char* bytes = reinterpret_cast<const char*>(text);
        std::string line;
        if (bytes[0] && !bytes[1]) {
            for (const wchar_t* c = text; *c && line.size() < 255; ++c)
                line.push_back(static_cast<char>(*c));
        } else {
            line = bytes;
        }
        lines.push_back(line);
    }
    return lines;
}

HWND AssociateListOf(HWND dialog)
{
    return GetDlgItem(dialog, IDC_ASSOCIATE_LIST);
}

HWND OpenAssociateDialog(HWND note, DWORD process)
{
    PostMessageA(note, WM_COMMAND, kNoteCmdAssociate, 0);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", kAssocDialogTitle, process)) != nullptr; });
    return dialog;
}

int HelperLineIn(HWND dialog)
{
    std::vector<std::string> lines;
    WaitUntil([&] {
        lines = ListBoxLines(AssociateListOf(dialog));
        return !lines.empty();
    });
    int helperLine = -1;
    std::string seen;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_NE(lines[i], "Quillnet+");
        if (lines[i] == kHelperAppTitle)
            helperLine = static_cast<int>(i);
        seen += "[" + lines[i] + "]";
    }
    EXPECT_GE(helperLine, 0) << seen;
    return helperLine;
}

void ClickAssociateLine(HWND dialog, int line)
{
    const LPARAM point = MAKELPARAM(40, line * 16 + 8);
    PostMessageA(AssociateListOf(dialog), WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(AssociateListOf(dialog), WM_LBUTTONUP, 0, point);
}

bool SetTieThroughDialog(HWND note, DWORD process, bool tied)
{
    HWND dialog = OpenAssociateDialog(note, process);
    if (!dialog)
        return false;
    const int line = HelperLineIn(dialog);
    if (line < 0)
        return false;
    if (IsLineSelected(dialog, line) != tied)
        ClickAssociateLine(dialog, line);
    if (!WaitUntil([&] { return IsLineSelected(dialog, line) == tied && IsWindowEnabled(GetDlgItem(dialog, IDOK)); }))
        return false;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return WaitUntil([&] { return !IsWindow(dialog); });
}

bool IsShownTopmost(HWND note)
{
    return IsWindowVisible(note) && (GetWindowLongA(note, GWL_EXSTYLE) & WS_EX_TOPMOST);
}
