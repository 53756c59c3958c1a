#pragma once

#include <windows.h>

#include <string>

// Makes a folder current while it lives, and the previous one current again after
// it, even when the test stops early. The program writes its reports and finds
// its tables in the current folder.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder)
    {
        char previous[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof previous, previous);
        m_previous = previous;
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryA(m_previous.c_str()); }
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
};
