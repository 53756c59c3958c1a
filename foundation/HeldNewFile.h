#pragma once

#include <windows.h>

#include <string>

// A new file written whole under a passing name and held open until its
// holder has given it the name it keeps: while it is held, others may read
// it and nothing else, while the holder's own rename goes through. A file of
// such a passing name that nobody holds was left by a run that ended before
// the rename, and DeleteIfNobodyHolds takes it away without ever touching
// one that a running program is still writing or naming.
class CHeldNewFile {
public:
    CHeldNewFile() = default;
    // Let go; a file that never took its name is deleted.
    ~CHeldNewFile();
    CHeldNewFile(const CHeldNewFile&) = delete;
    CHeldNewFile& operator=(const CHeldNewFile&) = delete;

    // The bytes in a file of that path made new, never one that exists,
    // flushed to the disk. ERROR_SUCCESS, or the system's error and no file.
    DWORD Write(const std::string& path, const void* bytes, DWORD size);
    // The file takes the name (MoveFileExA's flags), still held; false with
    // the system's error in GetLastError, the file as it was.
    bool MoveTo(const std::string& target, DWORD flags);

private:
    void Close();

    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::string m_path;
    bool m_moved = false;
};

// The file deleted unless a program holds it open; true when it went.
bool DeleteIfNobodyHolds(const std::string& path);
