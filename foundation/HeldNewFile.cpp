#include "foundation/HeldNewFile.h"

CHeldNewFile::~CHeldNewFile()
{
    Close();
    if (!m_path.empty() && !m_moved)
        DeleteFileA(m_path.c_str());
}

void CHeldNewFile::Close()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}

DWORD CHeldNewFile::Write(const std::string& path, const void* bytes, DWORD size)
{
    // Sharing the deletion lets the rename below through while the handle
    // stays open; DeleteIfNobodyHolds shares nothing, so it never meets a
    // file held here.
    m_file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return GetLastError();
    m_path = path;
    DWORD written = 0;
    if (WriteFile(m_file, bytes, size, &written, nullptr) && written == size && FlushFileBuffers(m_file))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    Close();
    DeleteFileA(m_path.c_str());
    m_path.clear();
    return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
}

bool CHeldNewFile::MoveTo(const std::string& target, DWORD flags)
{
    if (m_file == INVALID_HANDLE_VALUE || m_moved) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (!MoveFileExA(m_path.c_str(), target.c_str(), flags))
        return false;
    m_moved = true;
    return true;
}

bool DeleteIfNobodyHolds(const std::string& path)
{
    // An open that shares nothing fails while any program holds the file,
    // and keeps every other open out until the file has gone.
    HANDLE file = CreateFileA(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}
