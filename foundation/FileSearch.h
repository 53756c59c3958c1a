#pragma once

#include <windows.h>

#include <string>

// Calls visit(found) for each match of the search pattern (wildcards allowed), in
// the order of the search, until visit answers false; the search is closed
// however the walk ends, a visitor that throws included (an open search keeps
// its folder from being deleted). Returns the number of matches visited.
template <class Visit>
int ForEachFileMatch(const std::string& pattern, Visit visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    struct SearchCloser {
        HANDLE search;
        ~SearchCloser() { FindClose(search); }
    } closer{search};
    int count = 0;
    do {
        ++count;
        if (!visit(found))
            break;
    } while (FindNextFileA(search, &found));
    return count;
}
