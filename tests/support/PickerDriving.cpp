#include "support/PickerDriving.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "resources/ids/PictureListIds.h"
#include "support/ProgramDriver.h"

PickerRun::PickerRun(std::string caption, std::string openTitle, std::function<INT_PTR()> run)
    : m_caption(std::move(caption)), m_openTitle(std::move(openTitle)), m_run(std::move(run))
{
    m_thread = CreateThread(nullptr, 0, &PickerRun::Run, this, 0, nullptr);
}

PickerRun::~PickerRun()
{
    for (int round = 0; round < 20 && WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT; ++round) {
        if (HWND open = FindTopWindowTitled("#32770", m_openTitle.c_str(), GetCurrentProcessId()))
            PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
        else if (HWND dialog = Dialog())
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        WaitForSingleObject(m_thread, 500);
    }
    CloseHandle(m_thread);
}

DWORD WINAPI PickerRun::Run(void* parameter)
{
    auto* run = static_cast<PickerRun*>(parameter);
    OleInitialize(nullptr);
    run->m_result = run->m_run();
    OleUninitialize();
    return 0;
}

HWND PickerRun::Dialog() const
{
    return FindTopWindowTitled("#32770", m_caption.c_str(), GetCurrentProcessId());
}

HWND PickerRun::WaitForFilledDialog(int lines)
{
    WaitUntil([&] {
        m_dialog = Dialog();
        return m_dialog && SendMessageA(List(), LB_GETCOUNT, 0, 0) == lines;
    });
    return m_dialog && SendMessageA(List(), LB_GETCOUNT, 0, 0) == lines ? m_dialog : nullptr;
}

HWND PickerRun::List() const
{
    return GetDlgItem(m_dialog, IDC_PICTURE_LIST);
}

INT_PTR PickerRun::Result()
{
    WaitUntil([&] { return WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0; });
    return WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0 ? m_result : -2;
}

std::vector<std::string> Lines(HWND list)
{
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int line = 0; line < count; ++line) {
        char text[MAX_PATH] = "";
        SendMessageA(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

int LineOf(HWND list, const std::string& name)
{
    const std::vector<std::string> lines = Lines(list);
    auto found = std::find(lines.begin(), lines.end(), name);
    return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

RECT CellOf(HWND list, int line)
{
    RECT cell = {};
    SendMessageA(list, LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&cell));
    return cell;
}

namespace {
// A tooltip's text and rectangle in one line, for comparing sets of them.
std::string TipText(const std::string& text, const RECT& rect)
{
    char place[64];
    std::snprintf(place, sizeof place, " @%ld,%ld-%ld,%ld", rect.left, rect.top, rect.right, rect.bottom);
    return text + place;
}

BOOL CALLBACK FindTooltip(HWND window, LPARAM found)
{
    if (WindowClassOf(window) != TOOLTIPS_CLASSA)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
}

// The picker's tooltip control is a popup of the dialog's thread.
std::multiset<std::string> TipsOf(HWND dialog)
{
    HWND tooltip = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), &FindTooltip, reinterpret_cast<LPARAM>(&tooltip));
    std::multiset<std::string> tips;
    const int count = tooltip ? static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0)) : 0;
    for (int index = 0; index < count; ++index) {
        char text[200] = "";
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.lpszText = text;
        if (SendMessageA(tooltip, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(&tool)))
            tips.insert(TipText(text, tool.rect));
    }
    return tips;
}

std::multiset<std::string> CellTips(HWND list)
{
    std::multiset<std::string> tips;
    const std::vector<std::string> lines = Lines(list);
    for (size_t line = 0; line < lines.size(); ++line)
        tips.insert(TipText(lines[line], CellOf(list, static_cast<int>(line))));
    return tips;
}
