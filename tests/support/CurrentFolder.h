#pragma once

#include <windows.h>

#include <string>

#include "foundation/DataFolder.h"

// Makes a folder current and the program's data folder while it lives, and the
// previous ones again after it, even when the test stops early. The program
// writes its reports and finds its tables in the data folder.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder)
    {
        char previous[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof previous, previous);
        m_previous = previous;
        m_previousDataFolder = GetDataFolder();
        SetCurrentDirectoryA(folder.c_str());
        SetDataFolder(folder.c_str());
    }
    ~CurrentFolder()
    {
        SetCurrentDirectoryA(m_previous.c_str());
        SetDataFolder(m_previousDataFolder.c_str());
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

    static std::string Path()
    {
        char folder[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof folder, folder);
        return folder;
    }

private:
    std::string m_previous;
    std::string m_previousDataFolder;
};
