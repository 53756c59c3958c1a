// The real program with a window of another program (a window of this test
// process, on its own thread): the note's "Associate note with..." dialog
// lists it, OK writes apps.QPD, and the note then follows the window: it
// shows, not activated, while the window is on the screen, hides when it is
// minimised and comes back on restore; the tie survives a restart, a window
// that stops answering freezes nothing, untying the note in the dialog stops
// the following and tying it again starts it, and deleting the note unties it.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const int kListId = 1174;
const char kDialogTitle[] = "Associate note with applications";
const char kHelperTitle[] = "Helper editor - plans.txt";
const UINT kFreeze = WM_APP + 1;

// A plain top-level window on a thread of its own, which can be made to stop
// answering (kFreeze) until the event is set.
class HelperWindow {
public:
    HelperWindow()
    {
        m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thaw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, &HelperWindow::Run, this, 0, nullptr);
        WaitForSingleObject(m_ready, 30000);
    }
    ~HelperWindow()
    {
        SetEvent(m_thaw);
        if (m_window)
            PostMessageA(m_window, WM_CLOSE, 0, 0);
        WaitForSingleObject(m_thread, 30000);
        CloseHandle(m_thread);
        CloseHandle(m_ready);
        CloseHandle(m_thaw);
    }
    HWND Window() const { return m_window; }
    void Freeze() { PostMessageA(m_window, kFreeze, 0, 0); }
    void Thaw() { SetEvent(m_thaw); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kFreeze) {
            auto* self = reinterpret_cast<HelperWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            WaitForSingleObject(self->m_thaw, 60000);
            return 0;
        }
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static DWORD WINAPI Run(void* context)
    {
        auto* self = static_cast<HelperWindow*>(context);
        // No class icon: the dialog must ask the window for one.
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &HelperWindow::Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = "QnTestHelperEditor";
        RegisterClassA(&windowClass);
        self->m_window = CreateWindowExA(0, windowClass.lpszClassName, kHelperTitle, WS_OVERLAPPEDWINDOW, 600, 400,
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

    HANDLE m_ready = nullptr;
    HANDLE m_thaw = nullptr;
    HANDLE m_thread = nullptr;
    HWND m_window = nullptr;
};

void StoreHiddenNote(const char* text)
{
    CNoteController note;
    note.m_userId = 1;
    note.m_left = 60;
    note.m_top = 80;
    note.m_width = 240;
    note.m_height = 150;
    note.m_hidden = true;
    note.m_bodyColor = RGB(255, 255, 190);
    lstrcpynA(note.m_title, text, sizeof note.m_title);
    const std::string rtf = std::string("{\\rtf1\\ansi ") + text + "}";
    note.SetRichText(rtf.data(), rtf.size());
    SaveNote(note);
}

std::vector<std::string> ListLines(HWND list)
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

HWND OpenDialog(HWND note, DWORD process)
{
    PostMessageA(note, WM_COMMAND, kNoteCmdAssociate, 0);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindTopWindowTitled("#32770", kDialogTitle, process)) != nullptr; });
    return dialog;
}

// The helper's line of the dialog once the list is filled; -1 when it never
// comes. No line may name this program.
int HelperLine(HWND dialog)
{
    std::vector<std::string> lines;
    WaitUntil([&] {
        lines = ListLines(GetDlgItem(dialog, kListId));
        return !lines.empty();
    });
    int helperLine = -1;
    std::string seen;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_NE(lines[i], "Quillnet+");
        if (lines[i] == kHelperTitle)
            helperLine = static_cast<int>(i);
        seen += "[" + lines[i] + "]";
    }
    EXPECT_GE(helperLine, 0) << seen;
    return helperLine;
}

// A click on the line: it selects a line not selected and unselects one that is.
void ClickLine(HWND dialog, int line)
{
    const LPARAM point = MAKELPARAM(40, line * 16 + 8);
    PostMessageA(GetDlgItem(dialog, kListId), WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(GetDlgItem(dialog, kListId), WM_LBUTTONUP, 0, point);
}

bool IsLineSelected(HWND dialog, int line)
{
    LRESULT selected = 0;
    return SendWithTimeout(GetDlgItem(dialog, kListId), LB_GETSEL, line, 0, &selected) && selected > 0;
}

// The dialog opened from the note, the helper's line clicked to the state
// wanted, and OK; false when a step fails.
bool SetTieThroughDialog(HWND note, DWORD process, bool tied)
{
    HWND dialog = OpenDialog(note, process);
    if (!dialog)
        return false;
    const int line = HelperLine(dialog);
    if (line < 0)
        return false;
    if (IsLineSelected(dialog, line) != tied)
        ClickLine(dialog, line);
    if (!WaitUntil([&] { return IsLineSelected(dialog, line) == tied && IsWindowEnabled(GetDlgItem(dialog, IDOK)); }))
        return false;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return WaitUntil([&] { return !IsWindow(dialog); });
}

bool IsShownTopmost(HWND note)
{
    return IsWindowVisible(note) && (GetWindowLongA(note, GWL_EXSTYLE) & WS_EX_TOPMOST);
}
}

TEST(AppAssociationProgram, ANoteFollowsTheWindowItIsAssociatedWith)
{
    ProgramInstall install("assoc");
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        StoreHiddenNote("Follow me");
    }
    HelperWindow helper;
    ASSERT_NE(helper.Window(), nullptr);
    const std::string apps = install.File("apps.QPD");
    {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        HWND note = NoteWithText(program.ProcessId(), "Follow me");
        ASSERT_NE(note, nullptr);
        EXPECT_FALSE(IsWindowVisible(note));

        HWND dialog = OpenDialog(note, program.ProcessId());
        ASSERT_NE(dialog, nullptr);
        const int helperLine = HelperLine(dialog);
        ASSERT_GE(helperLine, 0);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
        // A click on the line selects it and allows OK.
        ClickLine(dialog, helperLine);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }));
        EXPECT_TRUE(SaveScreenshotOf(dialog, "associate-note-dialog"));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(apps).find(kHelperTitle) != std::string::npos; }));
        EXPECT_NE(ReadWholeFile(apps).find("<icon>AAABAA"), std::string::npos);

        // The window is on the screen: the note comes up, topmost, not activated.
        ASSERT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));
        EXPECT_NE(GetForegroundWindow(), note);
        SaveScreenshot("associated-note-shown");

        ShowWindow(helper.Window(), SW_MINIMIZE);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); }));
        ShowWindow(helper.Window(), SW_SHOWNOACTIVATE);
        EXPECT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));

        // Hidden by hand while the window stays: it stays hidden over the next ticks.
        ASSERT_TRUE(SendWithTimeout(note, WM_COMMAND, kNoteCmdHide, 0));
        EXPECT_FALSE(WaitUntil([&] { return IsWindowVisible(note) != FALSE; }, 5000));

        // A window that no longer answers: the dialog still opens and closes,
        // and the notes still answer.
        helper.Freeze();
        dialog = OpenDialog(note, program.ProcessId());
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return !ListLines(GetDlgItem(dialog, kListId)).empty(); }));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        EXPECT_TRUE(SendWithTimeout(note, WM_NULL, 0, 0, nullptr, 5000));
        helper.Thaw();
        CloseProgram(install, program);
    }

    // After a restart the tie holds; deleting the note takes it out of apps.QPD.
    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    HWND note = NoteWithText(again.ProcessId(), "Follow me");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));

    // Untied through the dialog, the last association gone: the window's
    // tracking stops, and the note stays on the screen while the window is
    // minimised, over several ticks the tracking would have taken.
    ASSERT_TRUE(SetTieThroughDialog(note, again.ProcessId(), false));
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(apps).find(kHelperTitle) == std::string::npos; }));
    ShowWindow(helper.Window(), SW_MINIMIZE);
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(note); }, 6000));
    ShowWindow(helper.Window(), SW_SHOWNOACTIVATE);

    // Tied again, with the note hidden by hand: the note comes up for the
    // window, and the tracking runs on: the note follows the window's next
    // minimise and restore.
    ASSERT_TRUE(SendWithTimeout(note, WM_COMMAND, kNoteCmdHide, 0));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); }));
    ASSERT_TRUE(SetTieThroughDialog(note, again.ProcessId(), true));
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(apps).find(kHelperTitle) != std::string::npos; }));
    EXPECT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));
    ShowWindow(helper.Window(), SW_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(note); }));
    ShowWindow(helper.Window(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return IsShownTopmost(note); }));

    ASSERT_TRUE(DeleteNoteWindow(note, again.ProcessId()));
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(apps).find(kHelperTitle) == std::string::npos; }));
    EXPECT_NE(ReadWholeFile(install.File("noteman.QPD")).find("<group>"), std::string::npos);
    CloseProgram(install, again);
}
