#include "shell/StartupSequence.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "calendar/CalendarWindow.h"
#include "foundation/BackupFolder.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/FormatSettings.h"
#include "foundation/HeldFileWait.h"
#include "foundation/PtrList.h"
#include "foundation/ResourceData.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/BackupFileType.h"
#include "foundation/win/DefaultBrowser.h"
#include "foundation/win/ShellPaths.h"
#include "foundation/win/SystemLibraries.h"
#include "foundation/win/SystemProbes.h"
#include "globals/ImageLists.h"
#include "globals/ProgramFlags.h"
#include "note/FindDialog.h"
#include "resources/ids/WindowClassIds.h"
#include "store/DataFileChecks.h"
#include "note/NoteWindow.h"
#include "note/TextToolConfig.h"
#include "shell/FolderSecurity.h"
#include "globals/GlobalTexts.h"
#include "shell/MainWindow.h"
#include "shell/OptionalLibraries.h"
#include "globals/ProgramGlobals.h"
#include "shell/ProcessSnapshot.h"
#include "shell/ProgramParts.h"
#include "shell/SingleInstance.h"
#include "shell/StartupPassword.h"
#include "shell/UserFolder.h"
#include "store/DataFilesInstall.h"
#include "store/FileStepFailures.h"
#include "store/ReplacementRecovery.h"
#include "store/VirtualStoreRecovery.h"

namespace {
const char* const kDataFilesToRun[] = {"config.qpd", "config.qps", "notes.qpd",   "notes.qps",   "users.qpd",
                                       "sentto.qpd", "webSearch.qpd", "sounds.qpd", "transact.qpd"};
const DWORD kForwardDelayMs = 1000;
const int kStartupStyleCount = 9;
// The exit code of a start that ends because another program holds one of
// the data folder's files: the system's code of a sharing violation.
const int kExitDataFileHeld = ERROR_SHARING_VIOLATION;

void ReadNames(StartupValues& values)
{
    DWORD size = sizeof values.computerName;
    if (!GetComputerNameA(values.computerName, &size))
        std::snprintf(values.computerName, sizeof values.computerName, "NoComputer");
    size = sizeof values.userName;
    if (!GetUserNameA(values.userName, &size))
        std::snprintf(values.userName, sizeof values.userName, "NoUserName");
}

std::string StartupFolder(int csidl)
{
    char folder[MAX_PATH] = "";
    GetSpecialFolderPath(folder, sizeof folder, csidl);
    return folder;
}

// False when another instance runs: this start has then done its part.
bool CheckInstance(HINSTANCE instance)
{
    CResourceString className;
    className.LoadString(instance, IDS_MAIN_WINDOW_CLASS);
    HWND running = nullptr;
    bool otherInstance = false;
    CheckSingleInstance(className.GetText(), &running, &otherInstance);
    if (!otherInstance)
        return true;
    if (running) {
        if (__argc > 1) {
            Sleep(kForwardDelayMs);
            ForwardCommandLineToRunningInstance(running);
        } else {
            SetForegroundWindow(running);
            if (IsIconic(running))
                ShowWindow(running, SW_RESTORE);
        }
        return false;
    }
    std::string text = "Quillnet+ is already running and attempts to run again.\r\n\r\n Please check, you might have "
                       "two(instead of just one) Quillnet+ shortcuts in the Startup folders below:\r\n\r\n-" +
                       StartupFolder(CSIDL_COMMON_STARTUP) + "\r\n-" + StartupFolder(CSIDL_STARTUP) + "\r\n";
    AppendTextToFile(text.c_str(), DataFilePath(DataName::kErrorLog).c_str());
    ShowInfoMessage(nullptr, text.c_str(), ProgramTitle);
    return false;
}

// On Windows Vista an installer may start the program under its own account:
// the data then belong to the user whose shell runs, whose name is read here.
void ReadLoggedOnUserName(StartupValues& values)
{
    int isFolder = 0;
    if (!values.windows.isVistaOrLater || !FileExists(ProgramFilePath(DataName::kUpgradeFolder).c_str(), &isFolder) ||
        !isFolder)
        return;
    // Only here is the shell's process wanted: the list of processes is
    // read only for an installer's start.
    values.shellProcessId = FindShellProcessId();
    if (!values.shellProcessId)
        return;
    HANDLE shell = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, values.shellProcessId);
    if (!shell)
        return;
    HANDLE token = nullptr;
    if (OpenProcessToken(shell, TOKEN_DUPLICATE | TOKEN_IMPERSONATE | TOKEN_QUERY, &token)) {
        if (ImpersonateLoggedOnUser(token)) {
            DWORD size = sizeof values.userName;
            if (!GetUserNameA(values.userName, &size))
                std::snprintf(values.userName, sizeof values.userName, "NoUserName");
            RevertToSelf();
        }
        CloseHandle(token);
    }
    CloseHandle(shell);
}

void UseWorkingFolder(const std::string& folder)
{
    StartupValues& values = GetStartupValues();
    std::snprintf(values.workingFolder, sizeof values.workingFolder, "%s", folder.c_str());
    SetDataFolder(folder.c_str());
    SetCurrentDirectoryA(folder.c_str());
}

std::string StartupUserFolderPath()
{
    const StartupValues& values = GetStartupValues();
    return std::string(values.programFolder) + "\\" + values.commandLineUser;
}

// On Windows NT 5 and later, Users are given write access to the program
// folder and the program's key; the answer says whether the folder was
// writable before.
DWORD CheckProgramFolderRights()
{
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    DWORD folderWritable = 0;
    if (windows.isWindows2000 || windows.isWindowsXp || windows.isVistaOrLater) {
        CheckFolderSecurity(folderWritable, SE_FILE_OBJECT);
        DWORD keyWritable = 0;
        CheckFolderSecurity(keyWritable, SE_REGISTRY_KEY);
    }
    return folderWritable;
}

bool UpgradeFromFolder(DWORD folderWasWritable)
{
    int isFolder = 0;
    if (!FileExists(ProgramFilePath(DataName::kUpgradeFolder).c_str(), &isFolder) || !isFolder)
        return true;
    for (const char* name : kDataFilesToRun) {
        if (!RequireDataFile(UpgradeFilePath(name).c_str(), kDataFileForInstall))
            return false;
    }
    if (!CheckDataFileAccess(UpgradeFilePath("config.qpd").c_str(), kDataFileForInstall))
        return false;
    if (FileExists(UpgradeFilePath(DataName::kNoNetworkMarker).c_str()))
        GetStartupValues().noNetwork = true;
    for (int style = 1; style <= kStartupStyleCount; ++style) {
        std::string source = UpgradeFilePath("style" + std::to_string(style) + ".rtf");
        std::string target = ProgramFilePath(("style" + std::to_string(style) + ".qpd").c_str());
        if (FileExists(source.c_str()))
            CopyFileA(source.c_str(), target.c_str(), FALSE);
    }
    if (!InstallDataFiles())
        return false;
    if (GetStartupValues().windows.isVistaOrLater)
        RecoverVirtualStoreData(folderWasWritable != 0);
    return true;
}

bool CheckDataFilesToRun()
{
    for (const char* name : kDataFilesToRun) {
        if (!RequireDataFile(ProgramFilePath(name).c_str(), kDataFileOfProgramFolder))
            return false;
    }
    return CheckDataFileAccess(ProgramFilePath("config.qpd").c_str(), kDataFileOfProgramFolder);
}

void ShowHeldFileBox(const std::string& path)
{
    ShowErrorMessage(nullptr, HeldDataFileText(path).c_str(), ProgramTitle);
}

// False, after one box that names it, when another program holds one of the
// data files read at start: the program would stop half-way, after its first
// writes, or go on without the user's groups, associations or calendar
// settings, while a glance only delays it. Asked before the check of the
// rights, which a holder that shares nothing would fail too.
bool CheckDataFilesFree()
{
    const std::string held = FindHeldDataFile();
    if (held.empty())
        return true;
    ShowHeldFileBox(held);
    return false;
}

// A failure because another program took a file after the start found it
// free is told as a held file is, in the box that names it.
bool ShowHeldFileFailure(const CGenericException& failure)
{
    if (!IsHeldFileError(failure.GetErrorCode()) || !failure.GetFilePath()[0])
        return false;
    ShowHeldFileBox(failure.GetFilePath());
    return true;
}

// The start-up steps that may stop the program; false stops it, with the
// exit code set when the stop is a failure.
bool PrepareData(HINSTANCE instance, CStartWaitsForHeldFiles& starting, int& exitCode)
{
    StartupValues& values = GetStartupValues();
    // The program folder comes first: every later step builds paths on it.
    if (!ChangeWorkingDirectory(nullptr))
        return false;
    UseWorkingFolder(values.programFolder);
    ReadNames(values);
    DetectWindowsVersion();
    ReadFileVersion();
    BuildFastUserSwitchingFileName();

    if (!CheckInstance(instance))
        return false;
    values.instance = instance;

    if (__argc > 1) {
        if (!CheckUserArgumentAtStart())
            return false;
    } else if (CheckFastUserSwitching(values.programFolder)) {
        return false;
    }
    GetDefaultBrowser(values.defaultBrowser, sizeof values.defaultBrowser);
    ReadLoggedOnUserName(values);

    if (values.commandLineUser[0])
        UseWorkingFolder(StartupUserFolderPath());
    // Before any table is read: a restore or an undo cut short may have left
    // the data files half replaced.
    if (!RecoverInterruptedReplacement()) {
        exitCode = kDataFilesNotWholeExitCode;
        return false;
    }
    // From the first look at the data files to the main window's creation,
    // a file found held is waited for wherever the start opens it.
    starting.Begin();
    if (!CheckDataFilesFree()) {
        exitCode = kExitDataFileHeld;
        return false;
    }
    if (FileExists(DataFilePath(DataName::kUsersTable).c_str()) &&
        !CheckDataFileAccess(DataFilePath(DataName::kUsersTable).c_str(), kDataFileOfProgramFolder))
        return false;
    if (!AskStartupPassword(instance))
        return false;
    UseWorkingFolder(values.programFolder);
    if (!CreateUserSubdirectory())
        return false;
    LoadWebSearchConfig();
    LoadTextTranslationConfig();

    DWORD folderWritable = CheckProgramFolderRights();
    if (!UpgradeFromFolder(folderWritable) || !RepairNotesTable() || !CheckDataFilesToRun())
        return false;

    if (values.commandLineUser[0]) {
        UseWorkingFolder(StartupUserFolderPath());
        WriteOwnLockFile();
    }
    GetWindowsDirectoryA(values.windowsFolder, sizeof values.windowsFolder);
    const WindowsVersionInfo& windows = values.windows;
    if (windows.commonControlsMajor == 4 && (windows.commonControlsMinor == 0 || windows.commonControlsMinor == 70)) {
        ShowErrorMessage(nullptr,
                         "This computer does not have \r\n the required version of comctl32.dll (4.71 or higher).\r\n"
                         " Please install Internet Explorer 4.1 or 6.0 with ServicePack 1",
                         ProgramTitle);
        return false;
    }
    LoadOptionalLibraries();
    INITCOMMONCONTROLSEX controls{sizeof controls, 0x3FF};
    if (!InitCommonControlsEx(&controls))
        ShowErrorMessage(nullptr, "InitCommonControlsEx failed ???", ProgramTitle);
    RegisterClipboardFormatA("Rich Text Format");
    RegisterClipboardFormatA("Embedded Object");
    if (!LoadRichEditLibrary())
        return false;
    InitGlobalStrings();
    CreateMenuFonts();
    LoadSnoozeChoices(instance);
    LoadCursorsAndBitmaps(instance);
    LoadMonthNames();
    return true;
}

int RunMessageLoop()
{
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1 || PassToFindBox(message) || PassToCalendar(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int RunMainWindow(HINSTANCE instance, CStartWaitsForHeldFiles& starting)
{
    if (!RegisterWindowMessageA("MSWHEEL_ROLLMSG"))
        ShowWarningMessage(nullptr, "RegisterWindowMessage failed", ProgramTitle);
    CreateImageLists(instance);
    ReadFullWindowDrag();
    DisableDragFullWindows();
    CResourceString className;
    className.LoadString(instance, IDS_MAIN_WINDOW_CLASS);
    if (HWND running = FindWindowA(className.GetText(), nullptr)) {
        SetForegroundWindow(running);
        if (IsIconic(running))
            ShowWindow(running, SW_RESTORE);
        return 0;
    }
    RegisterMainWindowClass(instance);
    RegisterNoteWindowClasses(instance);
    InitWinsock();
    RegisterBackupFileType();
    CreateMainWindow(instance);
    starting.End();
    return RunMessageLoop();
}

void ShutDown()
{
    ScratchBytes().Free();
    WSACleanup();
    ReleaseCursorsAndBitmaps();
    SetNodePoolClosing(true);
    FreeOptionalLibraries();
}
}

int RunProgram(HINSTANCE instance)
{
    ConnectProgramParts();
    CStartWaitsForHeldFiles starting;
    try {
        int exitCode = 0;
        if (!PrepareData(instance, starting, exitCode))
            return exitCode;
    } catch (const CGenericException& failure) {
        if (ShowHeldFileFailure(failure))
            return kExitDataFileHeld;
        char text[400];
        std::snprintf(text, sizeof text, "WinMain part 1 Exception %s", failure.GetErrorText());
        ShowWarningMessage(nullptr, text, ProgramTitle);
        return 0;
    } catch (...) {
        ShowWarningMessage(nullptr, "WinMain part 1 Unknown exception", ProgramTitle);
        return 0;
    }
    int exitCode = 0;
    try {
        exitCode = RunMainWindow(instance, starting);
    } catch (const CGenericException& failure) {
        if (ShowHeldFileFailure(failure)) {
            exitCode = kExitDataFileHeld;
        } else {
            char text[400];
            std::snprintf(text, sizeof text, "%s, Error %lu", failure.GetErrorText(), failure.GetErrorCode());
            ShowMessageBox(nullptr, text, "Exception", kMbIconExclamation);
        }
    }
    ShutDown();
    return exitCode;
}
