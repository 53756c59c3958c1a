#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/StartupValues.h"
#include "foundation/win/Launching.h"
#include "foundation/win/Shortcuts.h"
#include "support/CurrentFolder.h"
#include "support/ProgramDriver.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
std::string SystemProgram(const char* name)
{
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The launched program runs on its own: wait for its work.
bool FolderAppears(const std::string& path)
{
    return WaitUntil([&] { return IsFolder(path); });
}

// Every launch of a test runs in a fresh current folder, with the browser
// standing in for whatever each test sets.
class Launching : public testing::Test {
protected:
    void SetUp() override { m_browser = GetStartupValues().defaultBrowser; }
    void TearDown() override { lstrcpynA(GetStartupValues().defaultBrowser, m_browser.c_str(), MAX_PATH); }
    void SetBrowser(const std::string& command)
    {
        lstrcpynA(GetStartupValues().defaultBrowser, command.c_str(), MAX_PATH);
    }

    TempFolder m_folder;
    CurrentFolder m_current{m_folder.Path()};
    MessageBoxRecorder m_boxes;
    std::string m_browser;
};
}

TEST_F(Launching, AnArgumentArrivesWholeAndAQuotationMarkCannotAddArguments)
{
    std::string command = SystemProgram("cmd.exe") + " /c mkdir";
    ASSERT_TRUE(LaunchWithArgument(nullptr, command.c_str(), "made by launch", ""));
    EXPECT_TRUE(FolderAppears(m_folder.File("made by launch")));
    EXPECT_FALSE(IsFolder(m_folder.File("made")));
    EXPECT_EQ(m_boxes.Count(), 0u);

    EXPECT_FALSE(LaunchWithArgument(nullptr, command.c_str(), "one\" \"two", ""));
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.LastText().find("A quotation mark inside this cannot be passed on:"), 0u);

    // Through the browser a link keeps its quotation marks as %22, in one argument.
    SetBrowser(command);
    ShellOpen(nullptr, "link \"two\" parts");
    EXPECT_TRUE(FolderAppears(m_folder.File("link %22two%22 parts")));
    EXPECT_FALSE(IsFolder(m_folder.File("two")));
    EXPECT_EQ(m_boxes.Count(), 1u);
}

TEST_F(Launching, AProgramThatCannotStartIsReported)
{
    EXPECT_FALSE(LaunchProcess(nullptr, "C:\\no\\such\\program.exe", ""));
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.LastText().find(" , Error number: "), 0u);
    std::string tooLong(5000, 'a');
    EXPECT_FALSE(LaunchProcess(nullptr, tooLong.c_str(), ""));
    EXPECT_EQ(m_boxes.LastText().find("This is too long to be passed on:"), 0u);
}

TEST_F(Launching, InternetShortcutFilesOpenTheirAddressAndGo)
{
    SetBrowser(SystemProgram("cmd.exe") + " /c mkdir");
    WriteWholeFile(m_folder.File("page.url"), "[InternetShortcut]\r\nURL=url made\r\nIconIndex=0\r\n");
    LaunchUrlFile(nullptr, m_folder.File("page.url").c_str());
    EXPECT_TRUE(FolderAppears(m_folder.File("url made")));
    EXPECT_FALSE(FileExists(m_folder.File("page.url")));

    WriteWholeFile(m_folder.File("other.url"), "[InternetShortcut]\r\nAddress=x\r\n");
    LaunchUrlFile(nullptr, m_folder.File("other.url").c_str());
    EXPECT_TRUE(FileExists(m_folder.File("other.url"))) << "a file without an address is left alone";
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(Launching, ShortcutFilesRunTheirTargetWithItsArguments)
{
    CoInitialize(nullptr);
    std::string shortcut = m_folder.File("make folder.lnk");
    ASSERT_TRUE(CreateShortcut(shortcut.c_str(), SystemProgram("cmd.exe").c_str(), "/c mkdir \"shortcut made\"",
                               m_folder.Path().c_str(), "test"));
    LaunchShortcutFile(nullptr, shortcut.c_str());
    EXPECT_TRUE(FolderAppears(m_folder.File("shortcut made")));
    EXPECT_EQ(m_boxes.Count(), 0u);
    CoUninitialize();
}

TEST_F(Launching, WithoutABrowserTheShellOpensTheLinkAfterABox)
{
    CoInitialize(nullptr);
    SetBrowser("");
    std::string script = m_folder.File("make folder.bat");
    WriteWholeFile(script, "mkdir opened-by-shell\r\n");
    ShellOpen(nullptr, script.c_str());
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.LastText(), "Quillnet+ is unable to identify your default web browser.");
    EXPECT_EQ(m_boxes.Boxes()[0].caption, "\"" + script + "\"") << "a path with a blank is quoted";
    EXPECT_TRUE(FolderAppears(m_folder.File("opened-by-shell")));
    CoUninitialize();
}
