// The General settings sheet of the real program: opened from the main
// window's command, its tabs read across the process, every page shown (and
// kept as a picture), Cancel leaving the data folder as it was, and the
// number edits checked as they are left; a setting stored between two
// restores outlives the undo of the second.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "globals/MainWindowMessages.h"
#include "resources/ids/NotePageIds.h"
#include "resources/ids/SecurityPageIds.h"
#include "store/bytes/DeletedRecordList.h"
#include "SettingsSheetDriving.h"
#include "support/KeyPresses.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "UnstoredEditDriving.h"

namespace {
using FolderBytes = std::map<std::string, std::string>;

FolderBytes ReadFolderFiles(const std::string& folder)
{
    FolderBytes files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (int i = 0; search != INVALID_HANDLE_VALUE && i < 10000; ++i) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            std::ifstream in(folder + "\\" + found.cFileName, std::ios::binary);
            files[found.cFileName] = std::string(std::istreambuf_iterator<char>(in), {});
        }
        if (!FindNextFileA(search, &found))
            break;
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return files;
}

// A tab's text, read through memory lent by the program's own process.
std::string TabText(HWND tabs, DWORD processId, int index)
{
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return "";
    const SIZE_T textSize = 128;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(TCITEMA) + textSize, MEM_COMMIT, PAGE_READWRITE));
    std::string text;
    if (remote) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = remote + sizeof(TCITEMA);
        item.cchTextMax = textSize - 1;
        char buffer[textSize] = "";
        WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
        WriteProcessMemory(process, remote + sizeof(TCITEMA), buffer, textSize, nullptr);
        if (SendWithTimeout(tabs, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(remote)) &&
            ReadProcessMemory(process, remote + sizeof(TCITEMA), buffer, textSize, nullptr)) {
            buffer[textSize - 1] = 0;
            text = buffer;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

// The window as it is on the screen, written as a bitmap file beside the test
// program, for a person to look at after the run.
void SaveWindowPicture(HWND window, const std::string& name)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH - 1);
    std::string path = program;
    path = path.substr(0, path.find_last_of('\\') + 1) + name;
    RECT area;
    GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD rowBytes = ((width * 3 + 3) / 4) * 4;
    const DWORD pixelBytes = rowBytes * height;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + pixelBytes;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    if (bits)
        out.write(static_cast<const char*>(bits), pixelBytes);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
}

TEST(SettingsSheet, OpensWithItsSixTabsAndCancelLeavesEveryDataFileAsItWas)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = program.WaitForWindow("MainWindowClassName6");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SendWithTimeout(main, kNotesFirstDeletedMessage, 0, 0));
    const FolderBytes before = ReadFolderFiles(install.Path());
    ASSERT_FALSE(before.empty());

    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    HWND sheet = FindSettingsSheet(program.ProcessId());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(GetWindowLongA(sheet, GWL_STYLE) & WS_SYSMENU, 0);

    HWND apply = GetDlgItem(sheet, 0x3021);
    EXPECT_TRUE(!apply || !IsWindowVisible(apply)) << "the sheet has no Apply button";
    EXPECT_EQ(ReadWindowText(GetDlgItem(sheet, IDCANCEL)), "Cancel");
    EXPECT_EQ(ReadWindowText(GetDlgItem(sheet, IDHELP)), "Help");

    LRESULT tabsResult = 0;
    ASSERT_TRUE(SendWithTimeout(sheet, PSM_GETTABCONTROL, 0, 0, &tabsResult));
    HWND tabs = reinterpret_cast<HWND>(tabsResult);
    ASSERT_NE(tabs, nullptr);
    EXPECT_NE(GetWindowLongA(tabs, GWL_STYLE) & TCS_OWNERDRAWFIXED, 0) << "the program draws the tabs";
    const char* expected[] = {" Note ",   " Security ",  "    System-wide hotkeys   ",
                              " Sounds ", "  Network  ", "  Email sending  "};
    LRESULT count = 0;
    ASSERT_TRUE(SendWithTimeout(tabs, TCM_GETITEMCOUNT, 0, 0, &count));
    ASSERT_EQ(count, 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(TabText(tabs, program.ProcessId(), i), expected[i]);
        ASSERT_TRUE(SendWithTimeout(sheet, PSM_SETCURSEL, i, 0));
        LRESULT shown = -1;
        ASSERT_TRUE(SendWithTimeout(tabs, TCM_GETCURSEL, 0, 0, &shown));
        EXPECT_EQ(shown, i);
        RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SendWithTimeout(sheet, WM_NULL, 0, 0);
        SaveWindowPicture(sheet, "settings-page-" + std::to_string(i) + ".bmp");
        // A new user asks for a password without having one, which the
        // Security page refuses to be left with; the edit is cancelled below.
        if (i == 1) {
            HWND security = CurrentSettingsPage(sheet);
            for (int passwordCheck : {1283, 1251})
                if (Checked(security, passwordCheck))
                    ClickPageButton(security, passwordCheck);
        }
    }

    EXPECT_TRUE(PressSheetCancel(sheet));
    ASSERT_TRUE(SendWithTimeout(main, kNotesFirstDeletedMessage, 0, 0));
    EXPECT_TRUE(ReadFolderFiles(install.Path()) == before) << "Cancel changed a data file";

    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
}

TEST(SettingsSheet, TypedPortsAreCheckedAndOkMovesTheListenersForThisAndLaterRuns)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const unsigned short newPort = FindFreePort();
    {
        RunningProgram program(install, "");
        HWND main = program.WaitForWindow("MainWindowClassName6");
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
        PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
        HWND sheet = FindSettingsSheet(program.ProcessId());
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(SendWithTimeout(sheet, PSM_SETCURSEL, 4, 0));
        LRESULT pageResult = 0;
        ASSERT_TRUE(SendWithTimeout(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, &pageResult));
        HWND ports = GetDlgItem(reinterpret_cast<HWND>(pageResult), 1125);
        ASSERT_NE(ports, nullptr);
        EXPECT_EQ(ReadWindowText(ports),
                  std::to_string(install.ListenPort()) + "," + std::to_string(install.SendPort()));

        const struct {
            const char* typed;
            const char* shown;
        } refused[] = {
            {"1,2", "Please type at least 5 digits."},
            {"12345", "You cannot remove the second listening port."},
            {"1,2,3", "Too many commas, please check."},
            {"80,80", "The TCP/IP ports must be different."},
            {"0,1234", "The TCP/IP ports must be greater than zero."},
            {"1234,70000", "The TCP/IP ports must not be greater than 65535."},
        };
        for (const auto& entry : refused) {
            ASSERT_TRUE(SendWithTimeout(ports, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(entry.typed)));
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            std::string shown = AnswerBoxOverSheet(program.ProcessId(), sheet);
            EXPECT_EQ(shown.rfind(entry.shown, 0), 0u) << entry.typed << ": " << shown;
            EXPECT_TRUE(IsWindow(sheet)) << "a refused port keeps the sheet open";
        }
        // Leaving the page is refused the same way.
        PostMessageA(sheet, PSM_SETCURSEL, 0, 0);
        EXPECT_EQ(AnswerBoxOverSheet(program.ProcessId(), sheet), "The TCP/IP ports must not be greater than 65535.");

        std::string moved = std::to_string(newPort) + "," + std::to_string(install.SendPort());
        ASSERT_TRUE(SendWithTimeout(ports, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(moved.c_str())));
        ASSERT_TRUE(PressSheetOk(sheet));
        EXPECT_TRUE(WaitUntil([&] { return PortAcceptsConnections(newPort); }));
        EXPECT_TRUE(WaitUntil([&] { return !PortAcceptsConnections(install.ListenPort()); }));
        EXPECT_TRUE(PortAcceptsConnections(install.SendPort()));
        PostMessageA(main, WM_COMMAND, kCmdExit, 0);
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(&exitCode));
    }
    RunningProgram again(install, "");
    HWND main = again.WaitForWindow("MainWindowClassName6");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return PortAcceptsConnections(newPort); })) << "the new port is kept";
    EXPECT_FALSE(PortAcceptsConnections(install.ListenPort()));
    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(again.WaitForExit(&exitCode));
}

// The Tab width and the days that backups are kept are checked as soon as
// their edit is left for another control of the sheet: a 0 is refused at once
// and the edit gets the focus back. A click on another tab says it once (the
// page's own check as it is left) and keeps the page. Cancel closes the sheet
// from such an edit without a word, and nothing of it is applied.
TEST(SettingsSheet, NumberEditsRefuseZeroAsTheyAreLeftAndCancelStillClosesAtOnce)
{
    const std::string refusedZero = "Please enter a value greater than zero";
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(program, 0, &sheet);
    ASSERT_NE(page, nullptr);
    HWND tabWidth = GetDlgItem(page, IDC_NOTE_TAB_WIDTH);
    const std::string width = PageItemText(page, IDC_NOTE_TAB_WIDTH);
    const bool quickLaunch = Checked(page, IDC_NOTE_QUICK_LAUNCH);
    ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_QUICK_LAUNCH));

    // The edit given the text, then left by Tab: refused, and back in it.
    auto tabFrom = [&](int id, const char* text) {
        HWND edit = GetDlgItem(page, id);
        SendWithTimeout(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        SetPageItemText(page, id, text);
        PostKeyPress(edit, VK_TAB);
        EXPECT_EQ(AnswerBoxOverSheet(process, sheet), refusedZero) << text;
        EXPECT_TRUE(WaitUntil([&] { return FocusedWindowOf(sheet) == edit; }));
    };
    // Cancel clicked from the edit: the sheet closes without a box.
    auto cancelByClick = [&] {
        ClickSheetButton(sheet, IDCANCEL);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet) || ProgramBoxShown(process); }));
        EXPECT_FALSE(ProgramBoxShown(process));
        return !IsWindow(sheet);
    };
    tabFrom(IDC_NOTE_TAB_WIDTH, "0");
    // A click on the Security tab: told once, the page stays.
    ClickSheetTab(process, sheet, 1);
    EXPECT_EQ(AnswerBoxOverSheet(process, sheet), refusedZero);
    // A second word would come while the click is handled, before the sheet
    // takes a message sent after the first box went.
    ASSERT_TRUE(SendWithTimeout(sheet, WM_NULL, 0, 0));
    EXPECT_FALSE(ProgramBoxShown(process)) << "told twice";
    EXPECT_EQ(CurrentSettingsPage(sheet), page);
    ASSERT_TRUE(WaitUntil([&] { return FocusedWindowOf(sheet) == tabWidth; }));
    ASSERT_TRUE(cancelByClick());

    // The same with the days on the Security page.
    page = OpenSettingsPage(program, 1, &sheet);
    ASSERT_NE(page, nullptr);
    const bool dailyBackups = Checked(page, IDC_SECURITY_DAILY_BACKUPS);
    if (!dailyBackups) {
        ASSERT_TRUE(ClickPageButton(page, IDC_SECURITY_DAILY_BACKUPS));
    }
    const std::string kept = PageItemText(page, IDC_SECURITY_DAYS);
    tabFrom(IDC_SECURITY_DAYS, "");
    ASSERT_TRUE(cancelByClick());

    // Nothing of either was applied.
    page = OpenSettingsPage(program, 0, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(PageItemText(page, IDC_NOTE_TAB_WIDTH), width);
    EXPECT_EQ(Checked(page, IDC_NOTE_QUICK_LAUNCH), quickLaunch);
    ASSERT_TRUE(SendWithTimeout(sheet, PSM_SETCURSEL, 1, 0));
    page = CurrentSettingsPage(sheet);
    EXPECT_EQ(Checked(page, IDC_SECURITY_DAILY_BACKUPS), dailyBackups);
    EXPECT_EQ(PageItemText(page, IDC_SECURITY_DAYS), kept);
    EXPECT_TRUE(PressSheetCancel(sheet));
    CloseProgram(install, program);
}

// A setting changed on the sheet between two restores of the same backup
// is not lost by the undo of the second: the undo goes back to just before
// that restore, the setting as OK stored it.
TEST(SettingsSheet, ASettingStoredBetweenTwoRestoresOutlivesTheUndoOfTheSecond)
{
    ProgramInstall install;
    const std::string backup =
        BackupMadeByProgram([](const ProgramInstall& earlier) { AddStoredNote(earlier, "Backup one"); });
    ASSERT_FALSE(backup.empty());
    install.AddInstalledDataFiles();
    AddStoredNote(install, "Live one");
    WriteWholeFile(install.File("one.QPK"), backup);
    const std::string users = install.File("users.QPD");
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_NE(WaitForNoteWithText(process, "Live one"), nullptr);
    RunToEnd(install, "/replaceSilently one.QPK");
    HWND restored = WaitForNoteWithText(process, "Backup one");
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(NoteWithText(process, "Live one"), nullptr);

    // The long date chosen and stored by OK.
    HWND sheet = nullptr;
    HWND page = OpenSettingsPage(program, 0, &sheet);
    ASSERT_NE(page, nullptr);
    ASSERT_FALSE(Checked(page, IDC_NOTE_DATE_LONG));
    DWORD user = 0;
    // The running program may be writing the table as it is read: the read
    // is made again until the file is free.
    const auto storedDateFormat = [&] {
        std::string value = "(unread)";
        WaitUntil([&] {
            try {
                user = CurrentUserRecord(users);
                value = StoredField(users, user, "DATEFORMAT");
                return true;
            } catch (...) {
                return false;
            }
        });
        return value;
    };
    const std::string before = storedDateFormat();
    ASSERT_NE(user, 0u);
    ASSERT_TRUE(ClickPageButton(page, IDC_NOTE_DATE_LONG));
    ASSERT_TRUE(PressSheetOk(sheet));
    // OK stores the user's settings.
    std::string changed;
    ASSERT_TRUE(WaitUntil([&] { return (changed = storedDateFormat()) != before; }))
        << before;

    // The same backup restored again, the notes as the first restore left
    // them; its undo keeps the long date.
    RunToEnd(install, "/replaceSilently one.QPK");
    ASSERT_TRUE(WaitUntil([&] {
        HWND note = NoteWithText(process, "Backup one");
        return note && note != restored;
    }));
    EXPECT_EQ(UnrestoreAnsweringYes(main, process), "The unrestore operation has been successfully completed");
    EXPECT_NE(WaitForNoteWithText(process, "Backup one"), nullptr);
    EXPECT_EQ(NoteWithText(process, "Live one"), nullptr);
    EXPECT_EQ(storedDateFormat(), changed);
    page = OpenSettingsPage(program, 0, &sheet);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(Checked(page, IDC_NOTE_DATE_LONG));
    ASSERT_TRUE(PressSheetCancel(sheet));
    CloseProgram(install, program);
    EXPECT_EQ(StoredField(users, user, "DATEFORMAT"), changed);
}
