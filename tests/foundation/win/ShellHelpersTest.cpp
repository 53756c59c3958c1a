#include <windows.h>

#include <shlobj.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/FileSearch.h"
#include "foundation/StartupValues.h"
#include "foundation/win/BackupFileType.h"
#include "foundation/win/DefaultBrowser.h"
#include "foundation/win/ShellPaths.h"
#include "foundation/win/Shortcuts.h"
#include "support/CurrentFolder.h"
#include "support/HeldFile.h"
#include "support/ProgramDriver.h"
#include "support/RegistryValues.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
// COM for the shell's link object, for the length of one test.
class ShellTest : public testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};

DWORD WINAPI ReleaseAfterAMoment(void* held)
{
    Sleep(200);
    static_cast<HeldFile*>(held)->Release();
    return 0;
}

int CountProgramShortcuts()
{
    int count = 0;
    for (const SendToShortcut& shortcut : kSendToShortcuts)
        count += FindShortcutTo(CSIDL_SENDTO, "qnpost.exe", shortcut.searchedSwitch) ? 1 : 0;
    return count;
}
}

TEST(ShellPaths, TheProgramFolderBecomesCurrent)
{
    CurrentFolder current(".");
    MessageBoxRecorder boxes;
    ASSERT_TRUE(ChangeWorkingDirectory(nullptr));
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    std::string folder = module;
    folder = folder.substr(0, folder.rfind('\\'));
    EXPECT_EQ(CurrentFolder::Path(), folder);
    EXPECT_EQ(std::string(GetStartupValues().programFolder), folder);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(ShellPaths, ShortNamesBecomeLongOnesThatExist)
{
    // Wine makes a short name from the long name's first letters and a hash, and
    // two names of one folder can get the same short name: a path through it
    // then leads into the other folder. The temporary folder fills with the
    // folders of the tests (qn_t_..., qn_run_...), so the tree here hangs from
    // a folder whose first letters no other folder beside it has.
    TempFolder folder("short", "C:\\");
    std::string longFolder = folder.File("A folder with a long name");
    CreateDirectoryA(longFolder.c_str(), nullptr);
    WriteWholeFile(longFolder + "\\Quillnet program file.exe", "MZ");
    char shortPath[MAX_PATH];
    ASSERT_GT(GetShortPathNameA((longFolder + "\\Quillnet program file.exe").c_str(), shortPath, sizeof shortPath),
              0u)
        << "error " << GetLastError() << ", the file there: " << FileExists(longFolder + "\\Quillnet program file.exe");
    ASSERT_NE(std::string(shortPath).find('~'), std::string::npos) << shortPath;
    char result[MAX_PATH];
    ASSERT_EQ(GetLongDisplayPath(result, sizeof result, shortPath), 1);
    EXPECT_EQ(lstrcmpiA(result, (longFolder + "\\Quillnet program file.exe").c_str()), 0) << shortPath;

    ASSERT_EQ(GetLongDisplayPath(result, sizeof result, "C:\\NOSUCH~1\\FILE~1.EXE"), 1);
    EXPECT_STREQ(result, "C:\\NOSUCH~1\\FILE~1.EXE") << "a path that cannot be made long is kept as it is";
    EXPECT_EQ(GetLongDisplayPath(result, sizeof result, "relative\\A~1"), 0);
    EXPECT_EQ(GetLongDisplayPath(result, 8, shortPath), 0);
}

TEST(ShellPaths, SpecialFoldersAndNetworkPaths)
{
    char folder[MAX_PATH];
    EXPECT_TRUE(GetSpecialFolderPath(folder, sizeof folder, CSIDL_SENDTO));
    EXPECT_NE(GetFileAttributesA(folder), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(GetSpecialFolderPath(folder, sizeof folder, 0x7E));
    EXPECT_FALSE(GetSpecialFolderPath(folder, 4, CSIDL_SENDTO));
    EXPECT_TRUE(IsNetworkPath("\\\\server\\share\\notes"));
    for (const char* local : {"\\\\server", "C:\\notes", "1:\\notes", ""})
        EXPECT_FALSE(IsNetworkPath(local)) << local;
}

TEST_F(ShellTest, AShortcutIsCreatedReadBackAndRemoved)
{
    TempFolder folder;
    MessageBoxRecorder boxes;
    WriteWholeFile(folder.File("notes list.txt"), "x");
    std::string path = folder.File("to notes.lnk");
    ASSERT_TRUE(CreateShortcut(path.c_str(), "notes list.txt", "/new \"a b\"", folder.Path().c_str(), "Notes"));
    char target[MAX_PATH];
    char arguments[MAX_PATH];
    char working[MAX_PATH];
    ASSERT_TRUE(ReadShortcut(path.c_str(), target, arguments, working));
    EXPECT_EQ(lstrcmpiA(target, folder.File("notes list.txt").c_str()), 0) << target;
    EXPECT_STREQ(arguments, "/new \"a b\"");
    EXPECT_EQ(lstrcmpiA(working, folder.Path().c_str()), 0);

    WriteWholeFile(folder.File("broken.lnk"), "not a shortcut");
    EXPECT_FALSE(ReadShortcut(folder.File("broken.lnk").c_str(), target, arguments, working));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_NE(boxes.LastText().find("\r\nLoading the shortcut information has failed - " + folder.File("broken.lnk")),
              std::string::npos);
}

TEST_F(ShellTest, TheThreeSendToShortcutsAreMadeOnce)
{
    // Every start of the program makes these shortcuts in the prefix's Send To
    // folder: no program of another test may start while they are counted.
    ExclusiveProgramRun noProgramStarts;
    TempFolder programFolder;
    WriteWholeFile(programFolder.File("QNPOST.exe"), "MZ");
    StartupValues& values = GetStartupValues();
    std::string previous = values.programFolder;
    lstrcpynA(values.programFolder, programFolder.Path().c_str(), MAX_PATH);
    // Leftovers of an earlier run go first.
    for (int round = 0; round < 5; ++round)
        for (const SendToShortcut& shortcut : kSendToShortcuts)
            RemoveShortcutsTo(CSIDL_SENDTO, "qnpost.exe", shortcut.searchedSwitch);
    ASSERT_EQ(CountProgramShortcuts(), 0);

    CreateSendToShortcuts();
    CreateSendToShortcuts();
    EXPECT_EQ(CountProgramShortcuts(), 3);
    char sendTo[MAX_PATH];
    ASSERT_TRUE(GetSpecialFolderPath(sendTo, sizeof sendTo, CSIDL_SENDTO));
    auto each = [](const WIN32_FIND_DATAA&) { return true; };
    EXPECT_EQ(ForEachFileMatch(std::string(sendTo) + "\\Quillnet+*.lnk", each), 3) << "made once, however often";

    char target[MAX_PATH];
    char arguments[MAX_PATH];
    char working[MAX_PATH];
    ASSERT_TRUE(ReadShortcut((std::string(sendTo) + "\\" + kSendToShortcuts[0].name).c_str(), target, arguments,
                             working));
    EXPECT_EQ(lstrcmpiA(target, programFolder.File("QNPOST.exe").c_str()), 0) << target;
    EXPECT_STREQ(arguments, "/newOnlyShortcut");

    // A program that reads a new shortcut (the shell's link processor, an
    // indexer) keeps it from being deleted for a moment: it goes all the same.
    HeldFile reader(std::string(sendTo) + "\\" + kSendToShortcuts[0].name, kHolderSharesReadWrite);
    ASSERT_TRUE(reader.Held());
    HANDLE letGo = CreateThread(nullptr, 0, ReleaseAfterAMoment, &reader, 0, nullptr);
    ASSERT_NE(letGo, nullptr);
    for (const SendToShortcut& shortcut : kSendToShortcuts)
        EXPECT_TRUE(RemoveShortcutsTo(CSIDL_SENDTO, "qnpost.exe", shortcut.searchedSwitch));
    WaitForSingleObject(letGo, 30000);
    CloseHandle(letGo);
    EXPECT_EQ(CountProgramShortcuts(), 0);
    EXPECT_FALSE(FindShortcutTo(CSIDL_SENDTO, "qnpost.exe", "/newonlyshortcut"));
    EXPECT_TRUE(FindShortcutTo(0x7E, "qnpost.exe", "/x")) << "an unknown folder gets nothing made in it";
    lstrcpynA(values.programFolder, previous.c_str(), MAX_PATH);
}

TEST(DefaultBrowser, TheProgramPathIsCutOutOfTheOpenCommand)
{
    TempFolder folder;
    CurrentFolder current(folder.Path());
    const char* key = "http\\shell\\open\\command";
    std::string original = RegistryText(HKEY_CLASSES_ROOT, key, nullptr);
    char browser[MAX_PATH];
    SetRegistryText(HKEY_CLASSES_ROOT, key, nullptr, "  \"C:\\Program Files\\Web Browser\\Browse.EXE\" -url \"%1\"  ");
    ASSERT_TRUE(GetDefaultBrowser(browser, sizeof browser));
    EXPECT_STREQ(browser, "\"c:\\program files\\web browser\\browse.exe\"");

    // A command stored with environment variables names the same program.
    SetEnvironmentVariableA("QN_BROWSER_HOME", "C:\\Tools");
    SetRegistryExpandableText(HKEY_CLASSES_ROOT, key, nullptr, "\"%QN_BROWSER_HOME%\\Web\\Browse.exe\" \"%1\"");
    ASSERT_TRUE(GetDefaultBrowser(browser, sizeof browser));
    EXPECT_STREQ(browser, "\"c:\\tools\\web\\browse.exe\"");
    SetEnvironmentVariableA("QN_BROWSER_HOME", nullptr);

    SetRegistryText(HKEY_CLASSES_ROOT, key, nullptr, "rundll32 url.dll,FileProtocolHandler %1");
    EXPECT_FALSE(GetDefaultBrowser(browser, sizeof browser));
    EXPECT_STREQ(browser, "");
    EXPECT_NE(ReadWholeFile(folder.File("error.txt"))
                  .find("does not refer to an EXE file ??\r\nrundll32 url.dll,fileprotocolhandler %1"),
              std::string::npos);

    if (original == "(no key)" || original == "(no value)")
        DeleteRegistryTree(HKEY_CLASSES_ROOT, "http\\shell\\open");
    else
        SetRegistryText(HKEY_CLASSES_ROOT, key, nullptr, original);
}

TEST(BackupFileType, TheAssociationIsWrittenOnce)
{
    DeleteRegistryTree(HKEY_CLASSES_ROOT, ".QPK");
    DeleteRegistryTree(HKEY_CLASSES_ROOT, "QPK_auto_file");
    MessageBoxRecorder boxes;
    ASSERT_TRUE(RegisterBackupFileType());
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, ".QPK", nullptr), "QPK_auto_file");
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, "QPK_auto_file", nullptr), "QPK File");
    const char* command = "QPK_auto_file\\shell\\Open With Notepad\\command";
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, command, nullptr), std::string(windows) + "\\notepad.exe \"%1\"");

    SetRegistryText(HKEY_CLASSES_ROOT, ".QPK", nullptr, "changed by the user");
    SetRegistryText(HKEY_CLASSES_ROOT, command, nullptr, "edit.exe \"%1\"");
    ASSERT_TRUE(RegisterBackupFileType());
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, ".QPK", nullptr), "changed by the user")
        << "nothing is written a second time";
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, command, nullptr), "edit.exe \"%1\"");
    EXPECT_EQ(boxes.Count(), 0u);
}
