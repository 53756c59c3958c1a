#include "shell/UserFolder.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "store/DataFileChecks.h"
#include "shell/SingleInstance.h"
#include "shell/bytes/UserArgument.h"
#include "store/DataFolderImages.h"

namespace {
const char kLockExtension[] = ".lck";
const char kLockText[] =
    "     This file is used by Quillnet+ when running with the /u=AUserName command line argument.\r\n\r\n"
    "If from a computer, someone is trying to run a shared copy of Quillnet+ with /u=AUserName \r\n"
    "while from another computer someone else is currently running that shared copy of Quillnet+\r\n"
    "with /u=AUserName, then a file access violation could occur.";
const char* const kUserDataFiles[] = {"config.qpd", "config.qps", "notes.qpd",   "notes.qps",   "users.qpd",
                                      "sentto.qpd", "sounds.qpd", "webSearch.qpd", "transact.qpd"};
const int kUserFolderStyleCount = 9;

std::string ProgramFolderPath()
{
    return GetStartupValues().programFolder;
}

std::string CurrentUserFolderPath()
{
    return ProgramFolderPath() + "\\" + GetStartupValues().commandLineUser;
}

std::string OwnLockName()
{
    return std::string(GetStartupValues().computerName) + kLockExtension;
}

void ShowSystemFailure(const std::string& what)
{
    char description[400];
    FormatLastErrorText(GetLastError(), description, sizeof description);
    ShowErrorMessage(nullptr, (what + "\r\n" + description).c_str(), ProgramTitle);
}

// The nine data files of "QlData" are present and readable (template kind 3).
bool TemplateFilesUsable(const std::string& templateFolder)
{
    for (const char* name : kUserDataFiles) {
        if (!RequireDataFile((templateFolder + "\\" + name).c_str(), kDataFileOfTemplateFolder))
            return false;
    }
    return CheckDataFileAccess((templateFolder + "\\config.qpd").c_str(), kDataFileOfTemplateFolder);
}

void CopyDataFiles(const std::string& from, const std::string& to, bool replace)
{
    for (const char* name : kUserDataFiles)
        CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), replace ? FALSE : TRUE);
}

bool AnyDataFileIn(const std::string& folder)
{
    for (const char* name : kUserDataFiles) {
        if (FileExists((folder + "\\" + name).c_str()))
            return true;
    }
    return false;
}

// Back to the program folder by its full path, so that a user folder reached
// through a link or a drive mapping cannot leave the program elsewhere.
bool ReturnToProgramFolder()
{
    if (SetCurrentDirectoryA(ProgramFolderPath().c_str()))
        return true;
    ShowSystemFailure("SetCurrentDirectory failed (" + ProgramFolderPath() + ")");
    return false;
}

bool FillNewUserFolder(const std::string& userFolder, const std::string& templateFolder)
{
    if (!CreateDirectoryA(userFolder.c_str(), nullptr)) {
        ShowSystemFailure("Failed to create the user subdirectory '" + userFolder + "'");
        return false;
    }
    if (CheckDataFolder(userFolder.c_str()))
        return false;
    std::string upgradeMarker = std::string(DataName::kUpgradeFolder) + "\\" + DataName::kNoNetworkMarker;
    if (FileExists(ProgramFilePath(upgradeMarker.c_str()).c_str()))
        GetStartupValues().noNetwork = true;
    for (int style = 1; style <= kUserFolderStyleCount; ++style) {
        std::string source = templateFolder + "\\style" + std::to_string(style) + ".rtf";
        std::string target = userFolder + "\\style" + std::to_string(style) + ".qpd";
        if (FileExists(source.c_str()))
            CopyFileA(source.c_str(), target.c_str(), TRUE);
    }
    if (!TemplateFilesUsable(templateFolder))
        return false;
    CopyDataFiles(templateFolder, userFolder, true);
    if (FileExists((templateFolder + "\\" + DataName::kNoNetworkMarker).c_str()))
        GetStartupValues().noNetwork = true;
    return true;
}

bool CompleteUserFolder(const std::string& userFolder, const std::string& templateFolder)
{
    if (!AnyDataFileIn(userFolder)) {
        if (CheckDataFolder(userFolder.c_str()) || !TemplateFilesUsable(templateFolder))
            return false;
        CopyDataFiles(templateFolder, userFolder, true);
    } else if (!FileExists((userFolder + "\\sounds.qpd").c_str())) {
        CopyFileA((templateFolder + "\\sounds.qpd").c_str(), (userFolder + "\\sounds.qpd").c_str(), FALSE);
    }
    for (const char* name : kUserDataFiles) {
        if (!RequireDataFile((userFolder + "\\" + name).c_str(), kDataFileOfUserFolder))
            return false;
    }
    if (!CheckDataFileAccess((userFolder + "\\config.qpd").c_str(), kDataFileOfUserFolder))
        return false;
    for (const char* pictures : {DataName::kTexturesFolder, DataName::kChatFolder}) {
        std::string target = userFolder + "\\" + pictures;
        CreateDirectoryA(target.c_str(), nullptr);
        std::string source = templateFolder + "\\" + pictures;
        int isFolder = 0;
        if (FileExists(source.c_str(), &isFolder) && isFolder)
            CopyImageFiles(target.c_str(), source.c_str());
    }
    return true;
}
}

bool CheckUserArgumentAtStart()
{
    StartupValues& values = GetStartupValues();
    char programPath[MAX_PATH + 1] = "";
    DWORD pathLength = GetModuleFileNameA(nullptr, programPath, MAX_PATH);
    UserArgumentCheck check =
        CheckUserArgument(__argc > 1 ? __argv[1] : "", __argc, values.userName, pathLength);
    if (!check.warning.empty())
        ShowWarningMessage(nullptr, check.warning.c_str(), ProgramTitle);
    if (check.outcome != UserArgumentCheck::kAccepted) {
        ShowErrorMessage(nullptr, check.refusal.c_str(), ProgramTitle);
        return false;
    }
    std::snprintf(values.commandLineUser, sizeof values.commandLineUser, "%s", check.folderName.c_str());
    std::string userFolder = CurrentUserFolderPath();
    if (CheckFastUserSwitching(userFolder.c_str()))
        return false;
    int isFolder = 0;
    if (FileExists(userFolder.c_str(), &isFolder) && isFolder)
        return CheckLockFiles(userFolder.c_str());
    return true;
}

bool CheckLockFiles(const char* userFolder)
{
    std::string pattern = std::string(userFolder) + "\\*" + kLockExtension;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    std::string otherLock;
    do {
        if (lstrcmpiA(found.cFileName, OwnLockName().c_str()) != 0) {
            otherLock = found.cFileName;
            break;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    if (otherLock.empty())
        return true;

    std::string otherComputer = otherLock.substr(0, otherLock.size() - (sizeof kLockExtension - 1));
    std::string question =
        "     Caution: The notes you are attempting to access appear to be locked by another\r\n"
        "user running Quillnet+ from another computer named '" +
        otherComputer +
        "'.\r\n\r\n     If you know that nobody else is accessing those notes, then clicking \"Yes\" will override "
        "the lock and allow you to use the notes.\r\n\r\n     If there is *any* chance that another person may "
        "currently be using these notes, then please click \"No\". Continuing while another user is accessing "
        "these notes will almost certainly result in loss of data.\r\n\r\n\r\n   Are you sure you want to continue?";
    int answer = ShowMessageBox(nullptr, question.c_str(), ProgramTitle, kMbYesNo | kMbIconExclamation | kMbDefButton2);
    if (answer != kIdYes)
        return false;
    DeleteFileA((std::string(userFolder) + "\\" + otherLock).c_str());
    return true;
}

void WriteOwnLockFile()
{
    AppendTextToFile(kLockText, DataFilePath(OwnLockName().c_str()).c_str());
}

void DeleteOwnLockFile()
{
    DeleteFileA(DataFilePath(OwnLockName().c_str()).c_str());
}

bool CheckDataFolder(const char* targetFolder)
{
    int isFolder = 0;
    if (FileExists(ProgramFilePath(DataName::kDataFolder).c_str(), &isFolder) && isFolder)
        return false;
    std::string text = "The subdirectory 'QlData' is missing. Before running 'qnpost.exe /u=" +
                       std::string(GetStartupValues().commandLineUser) + "'\r\nplease make sure that the folder '" +
                       ProgramFolderPath() + "\\QlData" +
                       "'\r\nexists and contains all the *.qpd and *.qps files needed to be copied to\r\n'" +
                       targetFolder + "'\r\n\r\n- Quillnet+ will now stop. ";
    ShowErrorMessage(nullptr, text.c_str(), ProgramTitle);
    return true;
}

bool CreateUserSubdirectory()
{
    if (!GetStartupValues().commandLineUser[0])
        return true;
    std::string userFolder = CurrentUserFolderPath();
    std::string templateFolder = ProgramFilePath(DataName::kDataFolder);
    if (!SubfolderExists(ProgramFolderPath().c_str(), GetStartupValues().commandLineUser) &&
        !FillNewUserFolder(userFolder, templateFolder))
        return false;
    if (!SetCurrentDirectoryA(userFolder.c_str())) {
        ShowSystemFailure("SetCurrentDirectory failed (" + userFolder + ")");
        return false;
    }
    bool complete = CompleteUserFolder(userFolder, templateFolder);
    return ReturnToProgramFolder() && complete;
}
