#include "foundation/win/Launching.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/DiagnosticLog.h"
#include "foundation/GenericFile.h"
#include "foundation/ResourceData.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/LaunchText.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/Shortcuts.h"
#include "resources/ids/ShellIds.h"

namespace {
// Well inside the system's limit of 32,767 characters for a command line.
const size_t kMaxCommandLine = 4096;
const DWORD kReadyWaitMs = 10000;
const DWORD kMaxUrlFileBytes = 5120;

void ShowLaunchRefusal(HWND owner, LaunchTextResult result, const char* what)
{
    std::string text = result == LaunchTextResult::kQuoteInArgument
                           ? "A quotation mark inside this cannot be passed on:\r\n"
                           : "This is too long to be passed on:\r\n";
    text += std::string(what).substr(0, 300);
    ShowInfoMessage(owner, text.c_str(), ProgramTitle);
}

bool Run(HWND owner, char* commandLine, const char* workingFolder)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const char* folder = workingFolder && workingFolder[0] ? workingFolder : nullptr;
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process)) {
        char description[400];
        FormatLastErrorText(GetLastError(), description, sizeof description);
        ShowInfoMessage(owner, description, ProgramTitle);
        return false;
    }
    WaitForInputIdle(process.hProcess, kReadyWaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool LaunchTargetIsFolder(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Opens the item through its shell item list, so that its context-menu verbs
// apply. The list is made here rather than left to the shell, which under Wine
// loses the file when asked to make it; an address that is not a file goes
// without one.
bool ShellExecuteItem(HWND owner, const char* verb, const char* file, const char* parameters, const char* folder)
{
    SHELLEXECUTEINFOA execute = {};
    execute.cbSize = sizeof execute;
    execute.hwnd = owner;
    execute.lpVerb = verb;
    execute.lpFile = file;
    execute.lpParameters = parameters;
    execute.lpDirectory = folder;
    execute.nShow = SW_SHOWNORMAL;
    LPITEMIDLIST items = ILCreateFromPathA(file);
    if (items) {
        execute.fMask = SEE_MASK_INVOKEIDLIST;
        execute.lpIDList = items;
    }
    bool opened = ShellExecuteExA(&execute) != FALSE;
    if (items)
        ILFree(items);
    return opened;
}
}

bool LaunchWithArgument(HWND owner, const char* commandLine, const char* argument, const char* workingFolder)
{
    char line[kMaxCommandLine];
    LaunchTextResult built = BuildLaunchCommandLine(commandLine, argument, line, sizeof line);
    if (built != LaunchTextResult::kBuilt) {
        ShowLaunchRefusal(owner, built, argument ? argument : "");
        return false;
    }
    bool hasDrive = workingFolder && std::strstr(workingFolder, ":\\");
    return Run(owner, line, hasDrive ? workingFolder : nullptr);
}

bool LaunchProcess(HWND owner, const char* commandLine, const char* workingFolder)
{
    char line[kMaxCommandLine];
    LaunchTextResult built = BuildLaunchCommandLine(commandLine, nullptr, line, sizeof line);
    if (built != LaunchTextResult::kBuilt) {
        ShowLaunchRefusal(owner, built, commandLine ? commandLine : "");
        return false;
    }
    return Run(owner, line, workingFolder);
}

void ShellOpen(HWND owner, const char* link)
{
    // Quotation marks inside a link could end the browser's argument, or the
    // shell's "%1", early and add arguments of their own.
    char safeLink[kMaxCommandLine];
    LaunchTextResult escaped = EscapeLinkQuotes(link, safeLink, sizeof safeLink);
    if (escaped != LaunchTextResult::kBuilt) {
        ShowLaunchRefusal(owner, escaped, link ? link : "");
        return;
    }
    const char* browser = GetStartupValues().defaultBrowser;
    if (browser[0]) {
        LaunchWithArgument(owner, browser, safeLink, "");
        return;
    }
    char target[kMaxCommandLine];
    if (QuoteLinkForShell(safeLink, target, sizeof target) != LaunchTextResult::kBuilt) {
        ShowLaunchRefusal(owner, LaunchTextResult::kTooLong, safeLink);
        return;
    }
    CResourceString noBrowser;
    ShowErrorMessage(ForegroundOwner(), noBrowser.LoadString(GetModuleHandleA(nullptr), IDS_NO_DEFAULT_BROWSER),
                     target);
    if (std::strstr(target, ".htm") || std::strstr(target, ".HTM"))
        ShellExecuteA(owner, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
    else
        ShellExecuteItem(owner, "open", target, "", "");
}

void OpenFolderInExplorer(HWND owner, const char* folder)
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string command = std::string(windows) + "\\explorer.exe /e," + (folder ? folder : "");
    LaunchProcess(owner, command.c_str(), "");
}

void OpenFileOrFolder(HWND owner, const char* path, const char* arguments, const char* workingFolder)
{
    if (!path)
        return;
    if (LaunchTargetIsFolder(path)) {
        OpenFolderInExplorer(owner, path);
        return;
    }
    bool noArguments = !arguments || !arguments[0];
    if ((std::strstr(path, ".exe") || std::strstr(path, ".EXE")) && noArguments) {
        // A program path with blanks goes in quotation marks, or the system
        // could take "C:\Program" for the program.
        std::string command = path;
        if (command.find(' ') != std::string::npos && command[0] != '"')
            command = '"' + command + '"';
        LaunchWithArgument(owner, command.c_str(), "", workingFolder);
        return;
    }
    const char* folder = workingFolder && workingFolder[0] ? workingFolder : nullptr;
    if (!ShellExecuteItem(owner, nullptr, path, noArguments ? nullptr : arguments, folder))
        MessageBeep(0);
}

void LaunchUrlFile(HWND owner, const char* path)
{
    char contents[kMaxUrlFileBytes + 1] = "";
    try {
        CGenericFile file;
        file.OpenReadOnly(path);
        DWORD read = file.ReadFromFile(contents, kMaxUrlFileBytes);
        contents[read] = 0;
    } catch (const CGenericException& failure) {
        ShowErrorMessage(owner, failure.GetErrorText(), ProgramTitle);
        return;
    }
    const char* url = std::strstr(contents, "URL=");
    if (!url)
        return;
    url += 4;
    std::string address(url, std::strcspn(url, "\r\n"));
    ShellOpen(owner, address.c_str());
    DeleteFileA(path);
}

void LaunchShortcutFile(HWND owner, const char* path)
{
    char target[MAX_PATH];
    char arguments[MAX_PATH];
    char workingFolder[MAX_PATH];
    if (ReadShortcut(path, target, arguments, workingFolder))
        OpenFileOrFolder(owner, target, arguments, workingFolder);
}
