// The browser of the backup folder: it opens on the folder it is given, under
// the caption asked for, shows the folder chosen and gives it back on OK.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "xmlfiles/BackupFolderBrowser.h"

namespace {
const char kTitle[] = "Select the notes backup folder";

BOOL CALLBACK CollectTexts(HWND child, LPARAM texts)
{
    reinterpret_cast<std::string*>(texts)->append(ReadWindowText(child)).append("\n");
    return TRUE;
}

std::string ChildTexts(HWND window)
{
    std::string texts;
    EnumChildWindows(window, &CollectTexts, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// The text of the folder tree's selected item (the browser runs in this
// process, so the item can be read directly).
std::string SelectedFolderName(HWND browser)
{
    HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
    if (!tree)
        return std::string();
    TVITEMA item{};
    char text[MAX_PATH] = "";
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!item.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return std::string();
    return text;
}
}

TEST(BackupFolderBrowser, OpensOnTheFolderAndGivesBackTheOneChosen)
{
    // Not in the temporary folder: the browser finds its way down by listing
    // each folder on the path, and the temporary folder changes all the time
    // while other test programs run, which can leave the browser on the desktop.
    TempFolder folder("backups", "C:\\");
    BackupFolderRequest request;
    lstrcpynA(request.path, folder.Path().c_str(), sizeof request.path);
    request.title = kTitle;
    std::atomic<int> result{-1};
    // The browser is modal in a thread of its own; this one drives it.
    std::thread browsing([&] {
        CoInitialize(nullptr);
        result = BrowseBackupFolder(request);
        CoUninitialize();
    });
    HWND browser = nullptr;
    WaitUntil([&] { return (browser = FindTopWindowTitled("#32770", kTitle, GetCurrentProcessId())) != nullptr; });
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ChildTexts(browser).find(folder.Path()) != std::string::npos; }))
        << ChildTexts(browser);
    // The tree fills and selects the folder on its own time: OK is pressed
    // once the folder is the one selected.
    const std::string name = folder.Path().substr(folder.Path().find_last_of('\\') + 1);
    EXPECT_TRUE(WaitUntil([&] { return SelectedFolderName(browser) == name; })) << SelectedFolderName(browser);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(browser, IDOK)));
    EXPECT_TRUE(SaveScreenshotOf(browser, "BackupFolderBrowser"));
    PostMessageA(browser, WM_COMMAND, IDOK, 0);
    browsing.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(lstrcmpiA(request.path, folder.Path().c_str()), 0) << request.path;
}
