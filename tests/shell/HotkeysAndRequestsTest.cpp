// The real program's system-wide hotkeys and the requests of a second start
// that send, append and add to the favourites, driven from outside.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteFavouritesMenu.h"
#include "shell/Favourites.h"
#include "globals/ProgramGlobals.h"
#include "support/CurrentFolder.h"
#include "support/MenuDriving.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
const char kErrorFile[] = "cmdLineSend.err";

size_t ShownNotes(DWORD process)
{
    size_t shown = 0;
    for (HWND note : NoteWindows(process))
        shown += IsWindowVisible(note) ? 1 : 0;
    return shown;
}

std::string BodyText(HWND note)
{
    return ReadWindowText(BodyOf(note));
}

HWND NoteWhoseTextHas(DWORD process, const std::string& part)
{
    for (HWND note : NoteWindows(process)) {
        if (BodyText(note).find(part) != std::string::npos)
            return note;
    }
    return nullptr;
}

// A request as a second start sends it, from a thread of its own, since the
// program may answer it with a box that the test must first see and answer.
struct CopyDataRequest {
    CopyDataRequest(HWND main, ULONG_PTR code, WPARAM flag, const std::string& text)
        : m_text(text), m_thread([this, main, code, flag] {
              COPYDATASTRUCT data{code, static_cast<DWORD>(m_text.size() + 1), const_cast<char*>(m_text.c_str())};
              DWORD_PTR result = 0;
              SendMessageTimeoutA(main, WM_COPYDATA, flag, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                                  kDriverWaitMs, &result);
          })
    {
    }
    ~CopyDataRequest() { m_thread.join(); }

private:
    std::string m_text;
    std::thread m_thread;
};

// Another program's attempt at Alt+Shift+1: the error it meets, 0 when it got it.
DWORD TryAltShiftOne()
{
    HWND window = CreateWindowExA(0, "STATIC", "hotkey probe", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SetLastError(0);
    DWORD error = 0;
    if (RegisterHotKey(window, 0x3001, MOD_ALT | MOD_SHIFT, '1'))
        UnregisterHotKey(window, 0x3001);
    else
        error = GetLastError();
    DestroyWindow(window);
    return error;
}

std::string FavouritesFolder()
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_FAVORITES, nullptr, 0, path);
    return std::string(path) + "\\Quillnet+ favourite files and folders";
}

void RemoveFavouritesFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        for (int i = 0; i < 1000; ++i) {
            std::string name = found.cFileName;
            if (name != "." && name != ".." && !DeleteFileA((folder + "\\" + name).c_str()))
                RemoveDirectoryA((folder + "\\" + name).c_str());
            if (!FindNextFileA(search, &found))
                break;
        }
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string ShortcutDescription(const std::string& path)
{
    char description[MAX_PATH] = "";
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ)))
                link->GetDescription(description, MAX_PATH);
            file->Release();
        }
        link->Release();
    }
    return description;
}
}

TEST(HotkeysAndRequests, HotkeysAreHeldWhileTheProgramRunsAndEachRequestActsOnItsNote)
{
    const std::string favourites = FavouritesFolder();
    RemoveFavouritesFolder(favourites);
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();

    // The style hotkeys belong to the program while it runs (from the end of
    // its start-up, which the main window may still be in when first found).
    EXPECT_TRUE(WaitUntil([] { return TryAltShiftOne() == static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED); }));

    // Style 2's hotkey makes a note; hide all and show all act on every note.
    const size_t before = NoteWindows(process).size();
    PostMessageA(main, WM_HOTKEY, 151, 0);
    ASSERT_TRUE(WaitUntil([&] { return NoteWindows(process).size() == before + 1; }));
    PostMessageA(main, WM_HOTKEY, 16, 0);
    EXPECT_TRUE(WaitUntil([&] { return ShownNotes(process) == 0; }));

    // Appending with no visible note says so and changes nothing.
    {
        CopyDataRequest append(main, 7, 1, "tail text");
        ShownMessageBox box = WaitForMessageBox(process);
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.text, "Sorry, right now there is no visible note where the\r\n tail text  shortcut can be "
                            "appended.\r\n\r\n  Please make sure that there is at least one visible note and then "
                            "please try again.");
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }
    EXPECT_EQ(NoteWhoseTextHas(process, "tail text"), nullptr);
    PostMessageA(main, WM_HOTKEY, 15, 0);
    ASSERT_TRUE(WaitUntil([&] { return ShownNotes(process) == NoteWindows(process).size(); }));
    // Now it reaches a shown note, at the end of its text.
    { CopyDataRequest append(main, 7, 0, "tail text"); }
    HWND appended = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (appended = NoteWhoseTextHas(process, "tail text")) != nullptr; }));
    if (appended) {
        const std::string text = BodyText(appended);
        EXPECT_EQ(text.substr(text.size() - 9), "tail text");
    }

    // A send request without its separator is refused and written down.
    {
        CopyDataRequest send(main, 1, 0, "PC2 hello");
        ShownMessageBox box = WaitForMessageBox(process);
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.text, "invalid command line ??");
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }
    EXPECT_EQ(ReadWholeFile(install.File(kErrorFile)), "Invalid command line??\r\nPC2 hello");

    // A missing attachment: the reason, the request and its parts; no note.
    const size_t notesBeforeSend = NoteWindows(process).size();
    {
        CopyDataRequest send(main, 1, 0, "PC2!#%@hello!#%@C:\\nowhere\\x.txt  ");
        ShownMessageBox box = WaitForMessageBox(process);
        ASSERT_NE(box.window, nullptr);
        const std::string reason = "The attached file you asked Quillnet+ to send does not exist\r\n";
        EXPECT_EQ(reason.size(), 62u);
        EXPECT_EQ(box.text, reason);
        EXPECT_EQ(box.caption, "C:\\nowhere\\x.txt");
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
        WaitUntil([&] { return FileExists(install.File(kErrorFile)); });
        EXPECT_EQ(ReadWholeFile(install.File(kErrorFile)),
                  reason + "PC2!#%@hello!#%@C:\\nowhere\\x.txt  \r\nPC2\r\nC:\\nowhere\\x.txt");
    }
    EXPECT_EQ(NoteWindows(process).size(), notesBeforeSend);

    // With no destination the note is made and not sent; "\r" typed becomes a break.
    { CopyDataRequest send(main, 1, 0, "!#%@first\\rsecond"); }
    HWND sent = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (sent = NoteWhoseTextHas(process, "second")) != nullptr; }));
    if (sent) {
        const std::string text = BodyText(sent);
        EXPECT_EQ(text.substr(0, 6), "first\r");
        EXPECT_EQ(text.find('\\'), std::string::npos);
    }
    EXPECT_FALSE(FileExists(install.File(kErrorFile)));

    // A Send To "add to favourites" makes the folder with its readme and a shortcut.
    RunToEnd(install, "/addtofavourites C:\\x\\plan.txt");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(favourites + "\\plan.txt.lnk"); }));
    EXPECT_EQ(ReadWholeFile(favourites + "\\Readme Quillnet.txt"),
              "\r\n\r\n   - This folder contains the \"Quillnet+ favourite files and folders\"\r\n\r\n"
              "   - Any object (file, folder or shortcut) from this folder will be displayed\r\n"
              "      as a menu line in the  \"Quillnet+ Favourites\" note right-click submenu.\r\n\r\n"
              "   - Please add no more than 25 objects, because starting from the 26th object\r\n"
              "      will not be added to the \"Quillnet+ Favourites\" note right-click submenu. \r\n\r\n");
    CoInitialize(nullptr);
    EXPECT_EQ(ShortcutDescription(favourites + "\\plan.txt.lnk"), "this is a shortcut created by Quillnet+");
    CoUninitialize();

    CloseProgram(install, program);
    // Once it has gone, the keys are free for others.
    EXPECT_EQ(TryAltShiftOne(), 0u);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
    RemoveFavouritesFolder(favourites);
}

TEST(HotkeysAndRequests, TheFavouritesListHoldsTheFirst25ObjectsOfTheFolder)
{
    const std::string favourites = FavouritesFolder();
    RemoveFavouritesFolder(favourites);
    ASSERT_TRUE(CreateDirectoryA(favourites.c_str(), nullptr));
    WriteWholeFile(favourites + "\\Readme Quillnet.txt", "readme");
    WriteWholeFile(favourites + "\\desktop.ini", "[.ShellClassInfo]");
    for (int i = 0; i < 30; ++i) {
        char name[32];
        wsprintfA(name, "\\plan%02d.txt", i);
        WriteWholeFile(favourites + name, "plan");
    }
    ProgramInstall install;
    install.AddInstalledDataFiles();
    {
        CurrentFolder data(install.Path());
        SetupFavouritesFolder();
    }
    // The first 25 of the listing, in its order, numbered from 1; the readme
    // and the folder's settings file are never among them.
    std::vector<std::string> names;
    for (auto* node = FavouritesList().GetFirst(); node; node = node->next) {
        EXPECT_EQ(node->record.ordinal, names.size() + 1);
        EXPECT_GE(node->record.imageIndex, 0);
        names.push_back(node->record.name);
    }
    ASSERT_EQ(names.size(), 25u);
    std::vector<std::string> listed;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((favourites + "\\*").c_str(), &found);
    for (int i = 0; search != INVALID_HANDLE_VALUE && i < 100 && listed.size() < 25; ++i) {
        std::string name = found.cFileName;
        if (name.rfind("plan", 0) == 0)
            listed.push_back(name);
        if (!FindNextFileA(search, &found))
            break;
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    EXPECT_EQ(names, listed);
    FavouritesList().RemoveAll();
    RemoveFavouritesFolder(favourites);
}

// At start the folder is kept but its entries wait: a note's menu, or the
// end of the start, lists them once, in the folder's order.
TEST(HotkeysAndRequests, TheStartLeavesTheFavouritesToTheMenuThatFirstWantsThem)
{
    const std::string favourites = FavouritesFolder();
    RemoveFavouritesFolder(favourites);
    ASSERT_TRUE(CreateDirectoryA(favourites.c_str(), nullptr));
    WriteWholeFile(favourites + "\\Readme Quillnet.txt", "readme");
    for (const char* name : {"\\alpha.txt", "\\beta.txt", "\\gamma.txt"})
        WriteWholeFile(favourites + name, "plan");
    ASSERT_TRUE(CreateDirectoryA((favourites + "\\plans").c_str(), nullptr));
    ProgramInstall install;
    install.AddInstalledDataFiles();
    CurrentFolder data(install.Path());
    auto menuLines = [] {
        CNoteFavouritesMenu menu;
        HMENU handle = menu.Release();
        std::vector<std::string> lines;
        for (int position = 0; position < GetMenuItemCount(handle); ++position) {
            char text[MAX_PATH] = "";
            GetMenuStringA(handle, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
            lines.push_back(text);
        }
        DestroyMenu(handle);
        return lines;
    };
    auto listed = [] {
        std::vector<std::string> names;
        for (auto* node = FavouritesList().GetFirst(); node; node = node->next)
            names.push_back(node->record.name);
        return names;
    };

    StartFavourites(nullptr);
    EXPECT_TRUE(listed().empty());
    const std::vector<std::string> lines = menuLines();
    const std::vector<std::string> names = listed();
    ASSERT_EQ(names.size(), 4u);
    std::vector<std::string> expectedLines = names;
    expectedLines.push_back("");
    expectedLines.push_back("&Organize favourites...");
    EXPECT_EQ(lines, expectedLines);
    // Listed once: neither a second menu nor the end of the start adds them again.
    EXPECT_EQ(menuLines(), expectedLines);
    ListPendingFavourites();
    EXPECT_EQ(listed(), names);
    // A rebuild for the watcher lists at once, and leaves nothing pending.
    WriteWholeFile(favourites + "\\delta.txt", "plan");
    SetupFavouritesFolder();
    EXPECT_EQ(listed().size(), 5u);
    ListPendingFavourites();
    EXPECT_EQ(listed().size(), 5u);
    StopFavouritesWatcher();

    // The end of the start lists them when no menu came first.
    StartFavourites(nullptr);
    EXPECT_TRUE(listed().empty());
    ListPendingFavourites();
    EXPECT_EQ(listed().size(), 5u);
    StopFavouritesWatcher();
    FavouritesList().RemoveAll();
    RemoveFavouritesFolder(favourites);
}

TEST(HotkeysAndRequests, AnAppendAfterEveryNoteWasDeletedFindsNoNoteForItsText)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_NE(NewNoteFromCommandLine(install, process, "the last note used"), nullptr);

    // Every note deleted, the last one used among them.
    for (HWND note : NoteWindows(process)) {
        if (!IsWindowVisible(note))
            continue;
        ASSERT_TRUE(DeleteNoteWindow(note, process));
    }
    ASSERT_EQ(ShownNotes(process), 0u);

    // The deleted note is no place for the text.
    {
        CopyDataRequest append(main, 7, 0, "appended words");
        ShownMessageBox box = WaitForMessageBox(process);
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.text.rfind("Sorry, right now there is no visible note where the\r\n appended words", 0), 0u)
            << box.text;
        EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }
    EXPECT_EQ(NoteWhoseTextHas(process, "appended words"), nullptr);
    CloseProgram(install, program);
}

TEST(HotkeysAndRequests, TheFavouritesHotkeyAndTheNoteMenuOpenTheObjectsOfTheFolder)
{
    const std::string favourites = FavouritesFolder();
    RemoveFavouritesFolder(favourites);
    ASSERT_TRUE(CreateDirectoryA(favourites.c_str(), nullptr));
    ProgramInstall install;
    install.AddInstalledDataFiles();
    // A batch file that leaves a line behind each time it is opened, beside
    // a document and a folder.
    const std::string marker = install.File("opened.txt");
    WriteWholeFile(favourites + "\\mark.bat", "@echo opened>>\"" + marker + "\"\r\n");
    WriteWholeFile(favourites + "\\plan.txt", "plan");
    ASSERT_TRUE(CreateDirectoryA((favourites + "\\Projects").c_str(), nullptr));
    // The menu lists the objects in the order the folder lists them.
    int markLine = -1;
    int line = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((favourites + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found) != FALSE) {
        const std::string name = found.cFileName;
        if (name == "mark.bat")
            markLine = line;
        if (name != "." && name != "..")
            ++line;
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    ASSERT_GE(markLine, 0);

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    HWND note = NoteWindows(process).front();

    // The hotkey opens the menu at the pointer; its line opens the object.
    SetCursorPos(300, 260);
    PostMessageA(main, WM_HOTKEY, 25, 0);
    HWND menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    RECT placed{};
    GetWindowRect(menu, &placed);
    EXPECT_EQ(placed.left, 300);
    EXPECT_EQ(placed.top, 260);
    EXPECT_TRUE(SaveScreenshotOf(menu, "favourites-menu"));
    for (int step = 0; step <= markLine; ++step)
        PressMenuKey(menu, VK_DOWN);
    PressMenuKey(menu, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(marker) == "opened\r\n"; })) << ReadWholeFile(marker);

    // The note's own menu ends with the same list as a submenu.
    PostMessageA(note, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(note), MAKELPARAM(-1, -1));
    menu = WaitForOpenMenus(process, 1);
    ASSERT_NE(menu, nullptr);
    PressMenuKey(menu, VK_UP);
    PressMenuKey(menu, VK_RIGHT);
    HWND submenu = WaitForSubmenu(process, menu);
    ASSERT_NE(submenu, nullptr);
    EXPECT_TRUE(SaveScreenshotOf(submenu, "note-menu-favourites"));
    for (int step = 0; step < markLine; ++step)
        PressMenuKey(submenu, VK_DOWN);
    PressMenuKey(submenu, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(marker) == "opened\r\nopened\r\n"; })) << ReadWholeFile(marker);
    EXPECT_TRUE(OpenMenus(process).empty());

    CloseProgram(install, program);
    EXPECT_FALSE(FileExists(install.File("error.txt"))) << ReadWholeFile(install.File("error.txt"));
    RemoveFavouritesFolder(favourites);
}
