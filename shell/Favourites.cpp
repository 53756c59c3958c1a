// The favourites folder: made with its readme and shortcuts to the desktop's
// objects, listed with the objects' small icons, and added to on request.
#include "shell/Favourites.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/win/Launching.h"
#include "foundation/win/ShellPaths.h"
#include "foundation/win/Shortcuts.h"
#include "shell/FavouritesWatcher.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "store/FieldAccess.h"

namespace {
const char kFolderName[] = "\\Quillnet+ favourite files and folders";
const char kReadmeName[] = "Readme Quillnet.txt";
const char kShortcutDescription[] = "this is a shortcut created by Quillnet+";
const DWORD kOptionsRow = 2;

const char* const kReadmeTexts[] = {
    "\r\n\r\n   - This folder contains the \"Quillnet+ favourite files and folders\"\r\n\r\n",
    "   - Any object (file, folder or shortcut) from this folder will be displayed\r\n",
    "      as a menu line in the  \"Quillnet+ Favourites\" note right-click submenu.\r\n\r\n",
    "   - Please add no more than 25 objects, because starting from the 26th object\r\n",
    "      will not be added to the \"Quillnet+ Favourites\" note right-click submenu. \r\n\r\n",
};

bool FavouriteIsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The made-flag: WSAVEINT of the settings table's options row.
long ReadMadeFlag()
{
    CSettingsTable table;
    table.Open("READ");
    table.GoTo(kOptionsRow);
    long flag = ReadNumber(table, "WSAVEINT");
    table.Close();
    return flag;
}

void WriteMadeFlag(long flag)
{
    CSettingsTable table;
    table.Open("MAPPINGALL");
    WriteNumber(table, kOptionsRow, "WSAVEINT", flag);
    table.Close();
}

bool IsListedName(const char* name)
{
    return lstrcmpA(name, ".") != 0 && lstrcmpA(name, "..") != 0 && lstrcmpiA(name, "desktop.ini") != 0 &&
           lstrcmpiA(name, kReadmeName) != 0;
}

bool IsShortcutName(const char* name)
{
    return std::strstr(name, ".lnk") || std::strstr(name, ".LNK") || std::strstr(name, ".url") ||
           std::strstr(name, ".URL");
}

void AppendToFile(const std::string& path, const char* text)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
}

CFavouritesImageList& Icons()
{
    return ImageList(kFavouritesImageList);
}

// An entry with an icon becomes a line of the list; one without is not listed.
bool AddItem(const std::string& path, const char* fileName, bool folder)
{
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_OPENICON | SHGFI_SMALLICON) ||
        !info.hIcon)
        return false;
    if (!Icons().GetHandle())
        Icons().Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 8);
    FavouriteItem item{};
    item.imageIndex = Icons().AddIcon(info.hIcon);
    DestroyIcon(info.hIcon);
    std::snprintf(item.path, sizeof item.path, "%s", path.c_str());
    std::snprintf(item.name, sizeof item.name, "%s", fileName);
    size_t length = std::strlen(item.name);
    if (!folder && length > 4 && (lstrcmpA(item.name + length - 4, ".lnk") == 0 ||
                                  lstrcmpA(item.name + length - 4, ".LNK") == 0))
        item.name[length - 4] = 0;
    item.ordinal = FavouritesList().GetCount() + 1;
    item.kind = folder ? 2 : 1;
    item.listOrdinal = item.ordinal;
    FavouritesList().AddToTail(item);
    return true;
}

// Calls the visitor for each listed entry of the folder, at most 25 times.
template <class Visit>
void ForEachEntry(const std::string& folder, Visit visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    int taken = 0;
    do {
        if (IsListedName(found.cFileName) && visit(found))
            ++taken;
    } while (taken < kFavouritesLimit && FindNextFileA(search, &found));
    FindClose(search);
}

// A shortcut file is copied as it is; any other object gets a shortcut.
std::string PutIntoFolder(const std::string& folder, const std::string& objectPath, const char* name)
{
    if (IsShortcutName(name)) {
        std::string copy = folder + "\\" + name;
        CopyFileA(objectPath.c_str(), copy.c_str(), FALSE);
        return copy;
    }
    std::string shortcut = folder + "\\" + name + ".lnk";
    std::string workingFolder = objectPath.substr(0, objectPath.rfind('\\'));
    CreateShortcut(shortcut.c_str(), objectPath.c_str(), "", workingFolder.c_str(), kShortcutDescription);
    return shortcut;
}

void MakeFolder(const std::string& folder)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteMadeFlag(1);
    const std::string readme = folder + "\\" + kReadmeName;
    for (const char* text : kReadmeTexts)
        AppendToFile(readme, text);
    char desktop[MAX_PATH];
    if (!GetSpecialFolderPath(desktop, sizeof desktop, CSIDL_DESKTOPDIRECTORY))
        return;
    const std::string desktopFolder = desktop;
    ForEachEntry(desktopFolder, [&](const WIN32_FIND_DATAA& entry) {
        std::string made = PutIntoFolder(folder, desktopFolder + "\\" + entry.cFileName, entry.cFileName);
        AddItem(made, made.c_str() + made.rfind('\\') + 1, false);
        return true;
    });
}
}

namespace {
// A folder the user removed is made again, as the first time, and watched.
void MakeMissingFolder(const std::string& folder)
{
    if (FavouriteIsFolder(folder))
        return;
    WriteMadeFlag(0);
    SetupFavouritesFolder();
    StartFavouritesWatcher(GetMainWindow(), folder.c_str(), kMsgFavouritesChanged);
}
}

std::string FavouritesFolderPath()
{
    char favourites[MAX_PATH];
    if (!GetSpecialFolderPath(favourites, sizeof favourites, CSIDL_FAVORITES))
        return std::string();
    std::string path = std::string(favourites) + kFolderName;
    return path.size() < MAX_PATH ? path : std::string();
}

namespace {
// The entries of a folder that was there at start, not read yet.
bool g_listPending = false;

// The list emptied, the made-flag kept and the folder made when it is due;
// true when the folder was there and its entries are still to be listed.
bool PrepareFolder(const std::string& folder)
{
    FavouritesList().RemoveAll();
    Icons().Destroy();
    g_listPending = false;
    if (folder.empty())
        return false;
    if (FavouriteIsFolder(folder)) {
        // Written only when it changes: the table keeps its date otherwise.
        if (ReadMadeFlag() != 1)
            WriteMadeFlag(1);
        return true;
    }
    // The user removed the folder: it is made again only when asked for.
    if (ReadMadeFlag() == 0)
        MakeFolder(folder);
    return false;
}

void ListEntries(const std::string& folder)
{
    ForEachEntry(folder, [&](const WIN32_FIND_DATAA& entry) {
        return AddItem(folder + "\\" + entry.cFileName, entry.cFileName,
                       (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    });
}
}

void SetupFavouritesFolder()
{
    const std::string folder = FavouritesFolderPath();
    if (PrepareFolder(folder))
        ListEntries(folder);
}

void ListPendingFavourites()
{
    if (!g_listPending)
        return;
    g_listPending = false;
    try {
        ListEntries(FavouritesFolderPath());
    } catch (const CGenericException& failure) {
        WriteErrorLog("ListPendingFavourites():", failure.GetErrorText());
    }
}

void ClearFavouritesMadeFlag()
{
    WriteMadeFlag(0);
}

void AddToFavourites(const COPYDATASTRUCT* request)
{
    if (!request || !request->lpData || !request->cbData)
        return;
    std::string path(static_cast<const char*>(request->lpData), request->cbData);
    path.resize(std::strlen(path.c_str()));
    const size_t slash = path.rfind('\\');
    if (slash == std::string::npos || slash + 1 >= path.size())
        return;
    const std::string folder = FavouritesFolderPath();
    if (folder.empty())
        return;
    MakeMissingFolder(folder);
    PutIntoFolder(folder, path, path.c_str() + slash + 1);
}

void OrganizeFavourites(HWND owner)
{
    const std::string folder = FavouritesFolderPath();
    if (folder.empty())
        return;
    MakeMissingFolder(folder);
    OpenFolderInExplorer(owner, folder.c_str());
}

void StartFavourites(HWND main)
{
    try {
        const std::string folder = FavouritesFolderPath();
        // Reading every entry's icon takes a while: the entries are listed
        // once the notes are up, or first when a menu wants them.
        g_listPending = PrepareFolder(folder);
        if (!folder.empty() && FavouriteIsFolder(folder))
            StartFavouritesWatcher(main, folder.c_str(), kMsgFavouritesChanged);
    } catch (const CGenericException& failure) {
        WriteErrorLog("StartFavourites():", failure.GetErrorText());
    }
}

void StartFavouritesWatcher(HWND window, const char* folder, UINT message)
{
    FavouritesWatcher().Start(window, folder, message);
}

void StopFavouritesWatcher()
{
    FavouritesWatcher().Stop();
}
