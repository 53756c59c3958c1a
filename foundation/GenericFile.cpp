#include "foundation/GenericFile.h"

#include <cstdio>
#include <cstring>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/HeldFileWait.h"
#include "foundation/bytes/GenericException.h"

namespace {
const DWORD kSequential = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN;
const DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
const DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
}

CGenericFile::~CGenericFile()
{
    Close();
}

// Builds "<before><path><after>[<error description>]" and throws it with the
// last error of the failed call and the file's path.
void CGenericFile::Fail(const char* before, const char* after, bool withDescription)
{
    DWORD code = GetLastError();
    char description[400] = "";
    if (withDescription)
        FormatLastErrorText(code, description, sizeof description);
    char text[1024];
    std::snprintf(text, sizeof text, "%s%s%s%s", before, m_path, after, description);
    SetLastError(code);
    throw CGenericException(text, m_path);
}

bool CGenericFile::Open(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags)
{
    Close();
    std::snprintf(m_path, sizeof m_path, "%s", path ? path : "");
    // Opening an existing file for reading and writing is allowed (the tables
    // are read that way); creating or emptying one is a write.
    if (creation != OPEN_EXISTING)
        RefuseWritingWhenSealed(m_path);
    HANDLE file = INVALID_HANDLE_VALUE;
    RetryWhileHeldAtStart(m_path, [&] {
        file = CreateFileA(m_path, access, share, nullptr, creation, flags, nullptr);
        return file != INVALID_HANDLE_VALUE;
    });
    m_file = file == INVALID_HANDLE_VALUE ? nullptr : file;
    return m_file != nullptr;
}

bool CGenericFile::OpenShared(const char* path, bool backupSemantics)
{
    DWORD flags = backupSemantics ? FILE_FLAG_BACKUP_SEMANTICS : kSequential;
    if (!Open(path, kReadWrite, kShareReadWrite, OPEN_EXISTING, flags))
        Fail("OpenShared failed - ", " - ", false);
    return true;
}

bool CGenericFile::OpenReadOnly(const char* path)
{
    if (!TryOpenReadOnly(path))
        Fail("Open ReadOnly failed - ", " - ", false);
    return true;
}

bool CGenericFile::TryOpenReadOnly(const char* path)
{
    return Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, kSequential);
}

bool CGenericFile::OpenExclusive(const char* path)
{
    if (!Open(path, kReadWrite, 0, OPEN_EXISTING, kSequential))
        Fail("OpenExclusive failed - ", " -\r\n ", true);
    return true;
}

bool CGenericFile::CreateOverwrite(const char* path)
{
    if (!Open(path, kReadWrite, 0, CREATE_ALWAYS, kSequential))
        Fail("CreateOverwrite failed (", ")\r\n", true);
    return true;
}

bool CGenericFile::OpenSharedCreating(const char* path)
{
    if (!Open(path, kReadWrite, kShareReadWrite, OPEN_ALWAYS, kSequential))
        Fail("OpenShared Creating failed - ", " - ", false);
    return true;
}

DWORD CGenericFile::ReadFromFile(CProcessHeap& block, DWORD count)
{
    DWORD read = 0;
    if (count > block.GetSize() || !ReadFile(m_file, block.GetBlock(), count, &read, nullptr))
        Fail("CGenericFile::ReadFromFile LPVOID failed ", "", false);
    return read;
}

DWORD CGenericFile::ReadFromFile(void* buffer, DWORD count)
{
    DWORD read = 0;
    if (!ReadFile(m_file, buffer, count, &read, nullptr))
        Fail("CGenericFile::ReadFromFile LPVOID failed ", "\r\n", true);
    return read;
}

DWORD CGenericFile::ReadFromFile(CGenericString& text, DWORD count)
{
    if (static_cast<long long>(count) >= text.GetCapacity())
        Fail("ReadFromFile attempt to read too many bytes ", "", false);
    DWORD read = 0;
    char* target = text.GetString();
    if (!ReadFile(m_file, target, count, &read, nullptr))
        Fail("CGenericFile::ReadFromFile CGenericString failed ", "", false);
    target[read] = 0;
    return read;
}

DWORD CGenericFile::WriteToFile(const void* buffer, DWORD count)
{
    // A short write (a full disk) is a failure like any other: callers never
    // have to compare the count to learn that bytes were lost.
    RefuseWritingWhenSealed(m_path);
    DWORD written = 0;
    if (!WriteFile(m_file, buffer, count, &written, nullptr))
        Fail("CGenericFile::WriteToFile failed ", " -\r\n ", true);
    if (written != count) {
        SetLastError(ERROR_HANDLE_DISK_FULL);
        Fail("CGenericFile::WriteToFile failed ", " -\r\n ", true);
    }
    return written;
}

void CGenericFile::SetEOF()
{
    RefuseWritingWhenSealed(m_path);
    if (!SetEndOfFile(m_file))
        Fail("CGenericFile::SetEOF failed ", "", false);
}

void CGenericFile::Flush()
{
    if (!FlushFileBuffers(m_file))
        Fail("CGenericFile::Flush failed ", " -\r\n ", true);
}

DWORD CGenericFile::Seek(LONG offset, DWORD method, const char* failureText)
{
    DWORD position = SetFilePointer(m_file, offset, nullptr, method);
    if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        Fail(failureText, "", false);
    return position;
}

DWORD CGenericFile::GetFilePosition()
{
    SetLastError(NO_ERROR);
    return Seek(0, FILE_CURRENT, "CGenericFile::GetFilePosition failed ");
}

bool CGenericFile::IsEOF()
{
    SetLastError(NO_ERROR);
    DWORD position = Seek(0, FILE_CURRENT, "CGenericFile::IsEOF failed ");
    DWORD size = GetFileSize(m_file, nullptr);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        Fail("CGenericFile::IsEOF failed ", "", false);
    return position >= size;
}

DWORD CGenericFile::MoveRelative(LONG offset)
{
    SetLastError(NO_ERROR);
    return Seek(offset, FILE_CURRENT, "CGenericFile::MoveRelative failed ");
}

DWORD CGenericFile::MoveFromBOF(DWORD offset)
{
    SetLastError(NO_ERROR);
    return Seek(static_cast<LONG>(offset), FILE_BEGIN, "CGenericFile::MoveFromBOF failed ");
}

DWORD CGenericFile::MoveFromEOF(LONG offset)
{
    SetLastError(NO_ERROR);
    return Seek(offset, FILE_END, "CGenericFile::MoveFromEOF failed ");
}

DWORD CGenericFile::GetSize()
{
    return GetFileSize(m_file, nullptr);
}

namespace {
SYSTEMTIME FileTimeToLocal(const FILETIME& fileTime)
{
    FILETIME local;
    SYSTEMTIME result = {};
    FileTimeToLocalFileTime(&fileTime, &local);
    FileTimeToSystemTime(&local, &result);
    return result;
}
}

SYSTEMTIME CGenericFile::GetLastWriteTime()
{
    FILETIME written = {};
    GetFileTime(m_file, nullptr, nullptr, &written);
    return FileTimeToLocal(written);
}

SYSTEMTIME CGenericFile::GetCreationTime()
{
    FILETIME created = {};
    GetFileTime(m_file, &created, nullptr, nullptr);
    return FileTimeToLocal(created);
}

void CGenericFile::SetCreationTime(const SYSTEMTIME& localTime)
{
    FILETIME local;
    FILETIME utc;
    SystemTimeToFileTime(&localTime, &local);
    LocalFileTimeToFileTime(&local, &utc);
    SetFileTime(m_file, &utc, nullptr, nullptr);
}

// A second mapping replaces the first: its view and handle are released first.
void CGenericFile::ReleaseMapping()
{
    if (m_view)
        UnmapViewOfFile(m_view);
    if (m_mapping)
        CloseHandle(m_mapping);
    m_view = nullptr;
    m_mapping = nullptr;
    m_viewSize = 0;
}

bool CGenericFile::CreateMapping(DWORD extraBytes)
{
    if (!m_file)
        return false;
    RefuseWritingWhenSealed(m_path);
    ReleaseMapping();
    DWORD size = GetFileSize(m_file, nullptr);
    DWORD mappingSize = extraBytes ? size + extraBytes : size;
    m_mapping = CreateFileMappingA(m_file, nullptr, PAGE_READWRITE, 0, mappingSize, nullptr);
    if (!m_mapping) {
        DWORD code = GetLastError();
        Close();
        SetLastError(code);
        Fail("CGenericFile::CreateMapping failed ", "", false);
    }
    m_view = static_cast<BYTE*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!m_view) {
        DWORD code = GetLastError();
        Close();
        SetLastError(code);
        Fail("CGenericFile::MapViewOfFile failed  ", "", false);
    }
    m_viewSize = mappingSize;
    return true;
}

bool CGenericFile::CreateMappingReadOnly()
{
    if (!m_file)
        return false;
    ReleaseMapping();
    DWORD size = GetFileSize(m_file, nullptr);
    if (size == 0 || size == INVALID_FILE_SIZE)
        return false;
    m_mapping = CreateFileMappingA(m_file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!m_mapping) {
        Close();
        return false;
    }
    m_view = static_cast<BYTE*>(MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 0));
    if (!m_view) {
        DWORD code = GetLastError();
        Close();
        SetLastError(code);
        Fail("CGenericFile::MapViewOfFile ReadOnly failed  ", "", false);
    }
    m_viewSize = size;
    return true;
}

void CGenericFile::WriteToMapping(DWORD offset, const void* source, DWORD count)
{
    if (!m_view || offset > m_viewSize || count > m_viewSize - offset)
        throw CGenericException("CGenericFile::WriteToMapping outside the view");
    std::memcpy(m_view + offset, source, count);
}

void CGenericFile::WriteTailOfMapping(const char* text)
{
    DWORD length = static_cast<DWORD>(std::strlen(text));
    if (length > m_viewSize)
        throw CGenericException("CGenericFile::WriteTailOfMapping outside the view");
    WriteToMapping(m_viewSize - length, text, length);
}

void CGenericFile::Close()
{
    ReleaseMapping();
    if (m_file)
        CloseHandle(m_file);
    m_file = nullptr;
}
