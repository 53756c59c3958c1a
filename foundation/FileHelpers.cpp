#include "foundation/FileHelpers.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/BackupFolder.h"
#include "foundation/DataFolder.h"
#include "foundation/FileSearch.h"
#include "foundation/FolderTree.h"
#include "foundation/GenericFile.h"
#include "foundation/StartupValues.h"

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {
std::string ExtensionPattern(const char* folder, const char* subfolder, const char* extension)
{
    std::string pattern = folder ? folder : "";
    if (subfolder && *subfolder)
        pattern += std::string("\\") + subfolder;
    return pattern + "\\*." + (extension ? extension : "");
}

// A path without wildcards that ends in a name (not at a folder separator or a
// drive) is asked of the file system directly: a search reads the whole
// folder, which costs many times more, and saves ask several times each.
bool NamesOneEntry(const char* path)
{
    if (!path || !*path || std::strpbrk(path, "*?"))
        return false;
    const char last = path[std::strlen(path) - 1];
    return last != '\\' && last != '/' && last != ':';
}

std::string PatternFolder(const std::string& pattern)
{
    size_t slash = pattern.rfind('\\');
    return slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
}
}

bool FileExists(const char* path, int* isFolder)
{
    if (NamesOneEntry(path)) {
        const DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return false;
        if (isFolder && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            *isFolder = 1;
        return true;
    }
    bool found = false;
    ForEachFileMatch(path ? path : "", [&](const WIN32_FIND_DATAA& match) {
        found = true;
        if (isFolder && (match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            *isFolder = 1;
        return false;
    });
    return found;
}

bool FileExistsInFolder(const char* folder, const char* name, int* isFolder)
{
    std::string path = std::string(folder ? folder : "").substr(0, MAX_PATH - 1);
    path += std::string("\\") + (name ? name : "");
    return FileExists(path.c_str(), isFolder);
}

bool SubfolderExists(const char* folder, const char* name)
{
    bool found = false;
    ForEachFileMatch(std::string(folder ? folder : "") + "\\*.*", [&](const WIN32_FIND_DATAA& match) {
        found = (match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && lstrcmpiA(match.cFileName, name) == 0;
        return !found;
    });
    return found;
}

void ClearReadOnlyAttribute(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)))
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
}

bool IsFileOnSearchPath(const char* name)
{
    char found[MAX_PATH];
    char* filePart = nullptr;
    DWORD length = SearchPathA(nullptr, name, nullptr, sizeof found, found, &filePart);
    return length > 0 && length < sizeof found;
}

int DeleteFilesByExtension(const char* folder, const char* subfolder, const char* extension)
{
    std::string pattern = ExtensionPattern(folder, subfolder, extension);
    std::string where = PatternFolder(pattern);
    return ForEachFileMatch(pattern, [&](const WIN32_FIND_DATAA& match) {
        DeleteFileA((where + match.cFileName).c_str());
        return true;
    });
}

int CountFilesByExtension(const char* folder, const char* subfolder, const char* extension)
{
    return ForEachFileMatch(ExtensionPattern(folder, subfolder, extension),
                            [](const WIN32_FIND_DATAA&) { return true; });
}

int GetNthFileByExtension(CGenericString& string, const char* folder, const char* subfolder, const char* extension,
                          int n)
{
    int index = 0;
    bool found = false;
    int count = ForEachFileMatch(ExtensionPattern(folder, subfolder, extension), [&](const WIN32_FIND_DATAA& match) {
        found = index++ == n;
        if (found)
            string = match.cFileName;
        return !found;
    });
    return found ? n : count;
}

bool BackupFilesExist()
{
    const char* folder = GetCurrentBackupFolder();
    return *folder && FileExists((std::string(folder) + "\\*.QPK").c_str());
}

bool RemoveUpgradeFolder()
{
    const char* folder = GetStartupValues().programFolder;
    if (!*folder)
        return false;
    return DeleteDirectoryTree(ProgramFilePath(DataName::kUpgradeFolder).c_str());
}

int MakeProgramPath(char* buffer, size_t size, const char* name)
{
    if (!buffer || size == 0)
        return 0;
    const char* folder = GetStartupValues().programFolder;
    int length = std::snprintf(buffer, size, "%s\\%s", folder, name ? name : "");
    if (*folder && length >= 0 && static_cast<size_t>(length) < size)
        return 1;
    std::snprintf(buffer, size, "%s", folder);
    return 0;
}

void ReadAffiliationId(CGenericString& string)
{
    CGenericFile file;
    file.OpenReadOnly(ProgramFilePath(DataName::kAffiliationId).c_str());
    DWORD size = file.GetSize();
    if (size <= 1)
        return;
    char text[1025] = "";
    DWORD read = file.ReadFromFile(text, size < 1024 ? size : 1024);
    text[read < 1024 ? read : 1024] = 0;
    if (char* lineEnd = std::strchr(text, '\r'))
        *lineEnd = 0;
    string += text;
}

void MakeUniqueName(char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return;
    buffer[0] = 0;
    GUID guid;
    wchar_t wide[40];
    char text[40];
    if (FAILED(CoCreateGuid(&guid)) || !StringFromGUID2(guid, wide, 40) ||
        !WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr))
        return;
    size_t length = 0;
    for (const char* p = text; *p && length + 1 < size; ++p)
        if (*p != '-' && *p != '{' && *p != '}')
            buffer[length++] = *p;
    buffer[length] = 0;
}

DWORD WriteNewFile(const std::string& path, const void* bytes, DWORD size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes, size, &written, nullptr) && written == size && FlushFileBuffers(file);
    const DWORD error = whole ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    if (whole)
        return ERROR_SUCCESS;
    DeleteFileA(path.c_str());
    return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
}

namespace {
// At most that many of the file's first bytes; with wholeOnly, false for a
// longer file.
bool ReadUpTo(const std::string& path, DWORD most, bool wholeOnly, std::string& bytes)
{
    bytes.clear();
    try {
        CGenericFile file;
        if (!file.TryOpenReadOnly(path.c_str()))
            return false;
        const DWORD size = file.GetSize();
        if (size > most && wholeOnly)
            return false;
        bytes.resize(size < most ? size : most);
        return bytes.empty() || file.ReadFromFile(&bytes[0], static_cast<DWORD>(bytes.size())) == bytes.size();
    } catch (const CGenericException&) {
        return false;
    }
}
}

bool ReadFileStart(const std::string& path, DWORD most, std::string& bytes)
{
    return ReadUpTo(path, most, false, bytes);
}

bool ReadSmallFile(const std::string& path, DWORD maxSize, std::string& bytes)
{
    return ReadUpTo(path, maxSize, true, bytes);
}
