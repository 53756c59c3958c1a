// The browser of the backup folder: it opens on the folder it is given, under
// the caption asked for, shows the folder chosen and gives it back on OK.
#include <windows.h>
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
}

TEST(BackupFolderBrowser, OpensOnTheFolderAndGivesBackTheOneChosen)
{
    TempFolder folder("backups");
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
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(browser, IDOK)));
    EXPECT_TRUE(SaveScreenshotOf(browser, "BackupFolderBrowser"));
    PostMessageA(browser, WM_COMMAND, IDOK, 0);
    browsing.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(lstrcmpiA(request.path, folder.Path().c_str()), 0) << request.path;
}
