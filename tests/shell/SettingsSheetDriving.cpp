#include "SettingsSheetDriving.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "shell/MainWindowMessages.h"

namespace {
struct OtherDialogSearch {
    DWORD processId;
    HWND sheet;
    HWND found;
};

BOOL CALLBACK MatchOtherDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<OtherDialogSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->sheet || !IsWindowVisible(window) ||
        WindowClassOf(window) != "#32770")
        return TRUE;
    search->found = window;
    return FALSE;
}
}

HWND FindSettingsSheet(DWORD processId)
{
    HWND sheet = nullptr;
    WaitUntil([&] {
        HWND dialog = FindTopWindow("#32770", processId);
        if (dialog && ReadWindowText(dialog) == "General settings...")
            sheet = dialog;
        return sheet != nullptr;
    });
    return sheet;
}

HWND OpenSettingsPage(HWND main, DWORD processId, int pageIndex, HWND* sheet)
{
    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    *sheet = FindSettingsSheet(processId);
    if (!*sheet || !SendWithTimeout(*sheet, PSM_SETCURSEL, pageIndex, 0))
        return nullptr;
    LRESULT page = 0;
    if (!SendWithTimeout(*sheet, PSM_GETCURRENTPAGEHWND, 0, 0, &page))
        return nullptr;
    return reinterpret_cast<HWND>(page);
}

std::string AnswerBoxOverSheet(DWORD processId, HWND sheet)
{
    OtherDialogSearch search{processId, sheet, nullptr};
    WaitUntil([&] {
        EnumWindows(&MatchOtherDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    if (!search.found)
        return "";
    ShownMessageBox box;
    box.window = search.found;
    std::string text;
    for (HWND child = GetWindow(search.found, GW_CHILD); child && text.empty(); child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClassOf(child) == "Static")
            text = ReadWindowText(child);
    }
    AnswerMessageBox(box, IDOK);
    WaitUntil([&] { return !IsWindow(search.found); });
    return text;
}

bool Checked(HWND page, int id)
{
    LRESULT state = 0;
    return SendWithTimeout(GetDlgItem(page, id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool PressSheetOk(HWND sheet)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return WaitUntil([&] { return !IsWindow(sheet); });
}

void CloseBySecondStart(const ProgramInstall& install, RunningProgram& program)
{
    {
        RunningProgram second(install, "/close");
        DWORD secondExit = 1;
        EXPECT_TRUE(second.WaitForExit(&secondExit));
    }
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}
