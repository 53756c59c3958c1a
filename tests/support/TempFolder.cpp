#include "support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <stdexcept>

#include "foundation/FolderTree.h"

namespace {
std::atomic<unsigned> g_counter{0};

std::string TemporaryFolder()
{
    char root[MAX_PATH];
    GetTempPathA(sizeof root, root);
    return root;
}
}

TempFolder::TempFolder(const char* hint) : TempFolder(hint, TemporaryFolder())
{
}

TempFolder::TempFolder(const char* hint, const std::string& parent)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof name, "%sqn_%s_%lu_%u", parent.c_str(), hint, GetCurrentProcessId(),
                      g_counter++);
        if (CreateDirectoryA(name, nullptr)) {
            m_path = name;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder()
{
    DeleteDirectoryTree(m_path.c_str());
}

std::string ReadWholeFile(const std::string& path)
{
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {
void AddFilesUnder(const std::string& folder, const std::string& below, std::map<std::string, std::string>& files)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            AddFilesUnder(folder + "\\" + name, below + name + "\\", files);
        else
            files[below + name] = ReadWholeFile(folder + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
}

std::map<std::string, std::string> FilesUnder(const std::string& folder)
{
    std::map<std::string, std::string> files;
    AddFilesUnder(folder, "", files);
    return files;
}

std::map<std::string, std::string> DataFilesUnder(const std::string& folder)
{
    std::map<std::string, std::string> files = FilesUnder(folder);
    files.erase("error.txt");
    return files;
}

std::vector<std::string> FileNamesMatching(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}
