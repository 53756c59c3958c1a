#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/FolderTree.h"
#include "support/LowSpaceTaken.h"

// The real qnpost.exe run by a benchmark: copied with the data files of a new
// installation into a fresh folder of the temporary folder, and started there.

inline std::string BenchOwnFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

// "<temp>\<name>", emptied, holding qnpost.exe and the installed data files.
inline std::string MakeBenchInstall(const char* name)
{
    static const char* const dataFiles[] = {"config.QPD", "config.QPS",   "users.QPD",  "notes.QPD",    "notes.QPS",
                                            "sentto.QPD", "transact.QPD", "sounds.QPD", "webSearch.QPD"};
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + name;
    DeleteDirectoryTree(folder.c_str());
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyFileA((BenchOwnFolder() + "\\qnpost.exe").c_str(), (folder + "\\qnpost.exe").c_str(), FALSE);
    for (const char* file : dataFiles)
        CopyFileA((BenchOwnFolder() + "\\QlData\\" + file).c_str(), (folder + "\\" + file).c_str(), FALSE);
    return folder;
}

// The process of the program started with the arguments in the folder; null
// when it could not be started.
inline HANDLE LaunchInFolder(const std::string& program, const std::string& arguments, const std::string& folder)
{
    std::string line = "\"" + program + "\" " + arguments;
    PROCESS_INFORMATION info{};
    if (!StartWithLowSpaceTaken(program.c_str(), &line[0], folder.c_str(), info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// Ends the running program by a second start's "/close" and waits (at most the
// time for each) for both to end; true when the program ended. The handle is closed.
inline bool CloseBenchProgram(HANDLE running, const std::string& program, const std::string& folder, DWORD waitMs)
{
    HANDLE closing = LaunchInFolder(program, "/close", folder);
    const bool ended = WaitForSingleObject(running, waitMs) == WAIT_OBJECT_0;
    if (closing) {
        WaitForSingleObject(closing, waitMs);
        CloseHandle(closing);
    }
    CloseHandle(running);
    return ended;
}

// The note windows of the process.
struct BenchNoteWindows {
    DWORD process;
    std::vector<HWND> windows;

    static BOOL CALLBACK Add(HWND window, LPARAM context)
    {
        auto* list = reinterpret_cast<BenchNoteWindows*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char className[64] = "";
        if (owner == list->process && GetClassNameA(window, className, sizeof className) &&
            std::strcmp(className, "NotesClassName6") == 0)
            list->windows.push_back(window);
        return TRUE;
    }
};

inline std::vector<HWND> NoteWindowListOf(DWORD process)
{
    BenchNoteWindows list{process, {}};
    EnumWindows(&BenchNoteWindows::Add, reinterpret_cast<LPARAM>(&list));
    return list.windows;
}

inline int NoteWindowsOf(DWORD process)
{
    return static_cast<int>(NoteWindowListOf(process).size());
}
