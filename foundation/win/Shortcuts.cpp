#include "foundation/win/Shortcuts.h"

#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/DiagnosticLog.h"
#include "foundation/FileSearch.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/ShellPaths.h"

const SendToShortcut kSendToShortcuts[3] = {
    {"Quillnet+ (copy full path to a new note) .lnk", "/newOnlyShortcut", "Copy full path to a new note",
     "/newonlyshortcut"},
    {"Quillnet+ favourites files and folders (create shortcut) .lnk", "/addtofavourites",
     "Create shortcut into Quillnet+ files and folders", "/addtofavourites"},
    {"Quillnet+ (append full path to the last note) .lnk", "/appendOnlyShortcut",
     "Append full path to the last note you worked with", "/appendonlyshortcut"},
};

namespace {
const char kProgramFileName[] = "QNPOST.exe";

// The shell's link object with its file side; released together.
class LinkObject {
public:
    LinkObject()
    {
        m_result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&m_link));
        if (SUCCEEDED(m_result))
            m_result = m_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&m_file));
    }
    ~LinkObject()
    {
        if (m_file)
            m_file->Release();
        if (m_link)
            m_link->Release();
    }
    LinkObject(const LinkObject&) = delete;
    LinkObject& operator=(const LinkObject&) = delete;

    HRESULT Result() const { return m_result; }
    IShellLinkA* Link() const { return m_link; }
    IPersistFile* File() const { return m_file; }

private:
    HRESULT m_result;
    IShellLinkA* m_link = nullptr;
    IPersistFile* m_file = nullptr;
};

bool ToWide(const char* text, WCHAR* wide, int size)
{
    return MultiByteToWideChar(CP_ACP, 0, text, -1, wide, size) > 0;
}

void ShowShortcutFailure(HRESULT result, const char* step, const char* path)
{
    char text[MAX_PATH + 200];
    std::snprintf(text, sizeof text, "%08lX%s%s", static_cast<unsigned long>(result), step, path);
    ShowErrorMessage(nullptr, text, ProgramTitle);
}

// Reads a shortcut, showing the failing step when asked to.
bool ReadShortcutParts(const char* path, char* target, char* arguments, char* workingFolder, bool showFailures)
{
    auto fail = [&](HRESULT result, const char* step) {
        if (showFailures)
            ShowShortcutFailure(result, step, path);
        return false;
    };
    target[0] = arguments[0] = workingFolder[0] = 0;
    LinkObject link;
    WCHAR widePath[MAX_PATH];
    if (FAILED(link.Result()))
        return fail(link.Result(), "\r\nLoading the shortcut information has failed - ");
    if (!ToWide(path, widePath, MAX_PATH))
        return fail(E_INVALIDARG, "\r\nLoading the shortcut information has failed - ");
    HRESULT result = link.File()->Load(widePath, STGM_READ);
    if (FAILED(result))
        return fail(result, "\r\nLoading the shortcut information has failed - ");
    WIN32_FIND_DATAA found;
    if (FAILED(result = link.Link()->GetPath(target, MAX_PATH, &found, SLGP_UNCPRIORITY)))
        return fail(result, "\r\nGetPath for shortcut failed - ");
    if (FAILED(result = link.Link()->GetArguments(arguments, MAX_PATH)))
        return fail(result, "\r\nGetArguments for shortcut failed  - ");
    if (FAILED(result = link.Link()->GetWorkingDirectory(workingFolder, MAX_PATH)))
        return fail(result, "\r\nGetWorkingDirectory for shortcut failed  - ");
    return true;
}

std::string LoweredShortcutText(const char* text)
{
    std::string lowered = text;
    if (!lowered.empty())
        CharLowerBuffA(&lowered[0], static_cast<DWORD>(lowered.size()));
    return lowered;
}

enum class SearchResult { kFolderUnknown, kNotFound, kFound };

// A shortcut just made is read at once by other programs (the shell's own
// link processor, an indexer, a virus scanner), which refuse its deletion for
// that moment: the delete is tried again for up to half a second.
bool DeleteHeldFile(const char* path)
{
    const int kTries = 50;
    const DWORD kPauseMs = 10;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (DeleteFileA(path))
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
            return false;
        Sleep(kPauseMs);
    }
    return false;
}

// Looks through the folder's shortcuts; the path of the match goes to found.
SearchResult FindShortcut(int csidl, const char* targetPart, const char* argumentsPart, std::string& found)
{
    char folder[MAX_PATH];
    if (!GetSpecialFolderPath(folder, sizeof folder, csidl))
        return SearchResult::kFolderUnknown;
    std::string pattern = std::string(folder) + "\\*.LNK";
    SearchResult result = SearchResult::kNotFound;
    ForEachFileMatch(pattern, [&](const WIN32_FIND_DATAA& entry) {
        std::string path = std::string(folder) + "\\" + entry.cFileName;
        char target[MAX_PATH];
        char arguments[MAX_PATH];
        char workingFolder[MAX_PATH];
        if (!ReadShortcutParts(path.c_str(), target, arguments, workingFolder, false))
            return true;
        if (LoweredShortcutText(target).find(targetPart) == std::string::npos ||
            LoweredShortcutText(arguments).find(argumentsPart) == std::string::npos)
            return true;
        found = path;
        result = SearchResult::kFound;
        return false;
    });
    return result;
}
}

bool CreateShortcut(const char* shortcutPath, const char* target, const char* arguments, const char* workingFolder,
                    const char* description)
{
    char fullTarget[MAX_PATH];
    int length = std::strstr(target, ":\\")
                     ? std::snprintf(fullTarget, sizeof fullTarget, "%s", target)
                     : std::snprintf(fullTarget, sizeof fullTarget, "%s\\%s", workingFolder, target);
    WCHAR widePath[MAX_PATH];
    if (length < 0 || length >= static_cast<int>(sizeof fullTarget) || !ToWide(shortcutPath, widePath, MAX_PATH))
        return false;
    LinkObject link;
    return SUCCEEDED(link.Result()) && SUCCEEDED(link.Link()->SetPath(fullTarget)) &&
           SUCCEEDED(link.Link()->SetArguments(arguments)) &&
           SUCCEEDED(link.Link()->SetWorkingDirectory(workingFolder)) &&
           SUCCEEDED(link.Link()->SetDescription(description)) && SUCCEEDED(link.File()->Save(widePath, TRUE));
}

bool CreateShortcutInSpecialFolder(int csidl, const char* shortcutName, const char* target, const char* arguments,
                                   const char* workingFolder, const char* description)
{
    char folder[MAX_PATH];
    if (!GetSpecialFolderPath(folder, sizeof folder, csidl))
        return false;
    char path[MAX_PATH];
    int length = std::snprintf(path, sizeof path, "%s\\%s", folder, shortcutName);
    if (length < 0 || length >= static_cast<int>(sizeof path))
        return false;
    return CreateShortcut(path, target, arguments, workingFolder, description);
}

bool ReadShortcut(const char* shortcutPath, char* target, char* arguments, char* workingFolder)
{
    return ReadShortcutParts(shortcutPath, target, arguments, workingFolder, true);
}

bool FindShortcutTo(int csidl, const char* targetPart, const char* argumentsPart)
{
    std::string found;
    return FindShortcut(csidl, targetPart, argumentsPart, found) != SearchResult::kNotFound;
}

bool RemoveShortcutsTo(int csidl, const char* targetPart, const char* argumentsPart)
{
    std::string found;
    SearchResult result = FindShortcut(csidl, targetPart, argumentsPart, found);
    if (result == SearchResult::kFound && !DeleteHeldFile(found.c_str()))
        WriteErrorLog("RemoveShortcutsTo(): ", ("the shortcut could not be deleted: " + found).c_str());
    return result != SearchResult::kNotFound;
}

void CreateSendToShortcuts()
{
    const char* programFolder = GetStartupValues().programFolder;
    for (const SendToShortcut& shortcut : kSendToShortcuts)
        if (!FindShortcutTo(CSIDL_SENDTO, "qnpost.exe", shortcut.searchedSwitch))
            CreateShortcutInSpecialFolder(CSIDL_SENDTO, shortcut.name, kProgramFileName, shortcut.arguments,
                                          programFolder, shortcut.description);
}
