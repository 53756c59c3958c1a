#include "SettingsSheetDriving.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "resources/ids/SecurityPageIds.h"
#include "globals/MainWindowMessages.h"
#include "store/DbfFile.h"
#include "store/TableText.h"
#include "support/ListViewDriving.h"
#include "support/NoteDriving.h"

namespace {
struct OtherDialogSearch {
    DWORD processId;
    HWND sheet;
    HWND other;
    HWND found;
};

BOOL CALLBACK MatchOtherDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<OtherDialogSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->sheet || window == search->other ||
        !IsWindowVisible(window) || WindowClassOf(window) != "#32770")
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

HWND OpenSettingsPage(const RunningProgram& program, int pageIndex, HWND* sheet)
{
    *sheet = nullptr;
    HWND main = program.WaitForWindow("MainWindowClassName6");
    if (!main)
        return nullptr;
    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    *sheet = FindSettingsSheet(program.ProcessId());
    if (!*sheet || !SendWithTimeout(*sheet, PSM_SETCURSEL, pageIndex, 0))
        return nullptr;
    LRESULT page = 0;
    if (!SendWithTimeout(*sheet, PSM_GETCURRENTPAGEHWND, 0, 0, &page))
        return nullptr;
    return reinterpret_cast<HWND>(page);
}

HWND FindOtherDialog(DWORD processId, HWND sheet, HWND other, DWORD timeoutMs)
{
    OtherDialogSearch search{processId, sheet, other, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(&MatchOtherDialog, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

std::string AnswerBoxOverSheet(DWORD processId, HWND sheet, int buttonId, HWND other)
{
    HWND found = FindOtherDialog(processId, sheet, other);
    if (!found)
        return "";
    ShownMessageBox box;
    box.window = found;
    std::string text;
    for (HWND child = GetWindow(found, GW_CHILD); child && text.empty(); child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClassOf(child) == "Static")
            text = ReadWindowText(child);
    }
    AnswerMessageBox(box, buttonId);
    WaitUntil([&] { return !IsWindow(found); });
    return text;
}

HWND OpenSetPasswordDialog(DWORD processId, HWND sheet, HWND page)
{
    PostPageClick(page, IDC_SECURITY_SET_PASSWORD);
    return FindOtherDialog(processId, sheet);
}

void LeaveDialogEdit(HWND dialog, int id)
{
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
    PostMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
}

std::string BoxOrClose(DWORD processId, HWND sheet, HWND dialog)
{
    std::string text;
    WaitUntil([&] {
        if (!IsWindow(dialog))
            return true;
        if (FindOtherDialog(processId, sheet, dialog, 0))
            text = AnswerBoxOverSheet(processId, sheet, IDOK, dialog);
        return !text.empty();
    });
    return text;
}

HWND CurrentSettingsPage(HWND sheet)
{
    LRESULT page = 0;
    if (!SendWithTimeout(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, &page))
        return nullptr;
    return reinterpret_cast<HWND>(page);
}

bool Checked(HWND page, int id)
{
    LRESULT state = 0;
    return SendWithTimeout(GetDlgItem(page, id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool PressSheetOk(HWND sheet)
{
    return PressSheetButton(sheet, PSBTN_OK);
}

bool PressSheetCancel(HWND sheet)
{
    return PressSheetButton(sheet, PSBTN_CANCEL);
}

bool ClickPageButton(HWND page, int id)
{
    return SendWithTimeout(GetDlgItem(page, id), BM_CLICK, 0, 0);
}

void PostPageClick(HWND page, int id)
{
    PostMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0);
}

std::string PageItemText(HWND page, int id)
{
    return ReadWindowText(GetDlgItem(page, id));
}

void SetPageItemText(HWND page, int id, const char* text)
{
    SendWithTimeout(GetDlgItem(page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

std::string StoredField(const std::string& table, DWORD record, const char* field)
{
    CDbfFile file;
    file.SetTable(table.c_str(), true);
    file.Open("READ");
    file.GoTo(record);
    std::string value = ReadTrimmedText(file, field);
    file.Close();
    const size_t first = value.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : value.substr(first);
}

DWORD CurrentUserRecord(const std::string& usersTable)
{
    char user[256] = "";
    DWORD size = sizeof user;
    GetUserNameA(user, &size);
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = "";
    size = sizeof computer;
    GetComputerNameA(computer, &size);
    CDbfFile file;
    file.SetTable(usersTable.c_str(), true);
    file.Open("READ");
    DWORD found = 0;
    const DWORD count = file.GetRecordCount();
    for (DWORD record = 1; record <= count && !found; ++record) {
        file.GoTo(record);
        if (lstrcmpiA(ReadTrimmedText(file, "SZUSERNAME").c_str(), user) == 0 &&
            lstrcmpiA(ReadTrimmedText(file, "SZCOMPUTER").c_str(), computer) == 0)
            found = record;
    }
    file.Close();
    return found;
}

void PressKey(HWND control, UINT key)
{
    SendWithTimeout(control, WM_KEYDOWN, key, 1);
    SendWithTimeout(control, WM_KEYUP, key, 0xC0000001);
}

void TypeCharacter(HWND control, char character)
{
    SendWithTimeout(control, WM_CHAR, static_cast<unsigned char>(character), 1);
}

void ClickSheetButton(HWND sheet, int id)
{
    const RECT button = RectOf(GetDlgItem(sheet, id));
    ClickAt({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
}

void ClickSheetTab(DWORD processId, HWND sheet, int pageIndex)
{
    LRESULT tabs = 0;
    SendWithTimeout(sheet, PSM_GETTABCONTROL, 0, 0, &tabs);
    RemoteBlock block(processId, sizeof(RECT));
    RECT tab{};
    if (!tabs || !SendWithTimeout(reinterpret_cast<HWND>(tabs), TCM_GETITEMRECT, pageIndex, block.Param()) ||
        !block.Read(&tab, sizeof tab))
        return;
    POINT middle{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    ClientToScreen(reinterpret_cast<HWND>(tabs), &middle);
    ClickAt(middle);
}

int MovePageSlider(HWND page, int id, int position)
{
    HWND slider = GetDlgItem(page, id);
    SendWithTimeout(slider, TBM_SETPOS, TRUE, position);
    SendWithTimeout(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
    LRESULT shown = -1;
    SendWithTimeout(slider, TBM_GETPOS, 0, 0, &shown);
    return static_cast<int>(shown);
}
