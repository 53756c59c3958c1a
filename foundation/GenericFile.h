#pragma once

#include <windows.h>

#include "foundation/GenericString.h"
#include "foundation/ProcessHeap.h"
#include "foundation/bytes/GenericException.h"

// One Win32 file with an optional mapping and view. Each way of opening has its
// own fixed access, sharing and creation; every failure throws CGenericException
// naming the operation and the path. While the data files are sealed, a file of
// the data folder is neither created, emptied, mapped for writing nor written
// (RefuseWritingWhenSealed). While the program starts, an open that finds the
// file held by another program waits for it (foundation/HeldFileWait.h).
// Sizes and positions are 32-bit.
class CGenericFile {
public:
    CGenericFile() = default;
    ~CGenericFile();
    CGenericFile(const CGenericFile&) = delete;
    CGenericFile& operator=(const CGenericFile&) = delete;

    bool OpenShared(const char* path, bool backupSemantics = false);
    bool OpenReadOnly(const char* path);
    // As OpenReadOnly, but false, with the system's error as the last error,
    // when the file cannot be opened (another program may hold it for a moment).
    bool TryOpenReadOnly(const char* path);
    bool OpenExclusive(const char* path);
    bool CreateOverwrite(const char* path);
    bool OpenSharedCreating(const char* path);

    DWORD ReadFromFile(CProcessHeap& block, DWORD count);
    DWORD ReadFromFile(void* buffer, DWORD count);
    // Reads into the string's block and terminates the text there; a count that
    // leaves no room for the terminator is refused before anything is read.
    DWORD ReadFromFile(CGenericString& text, DWORD count);
    DWORD WriteToFile(const void* buffer, DWORD count);
    void SetEOF();
    // Makes the written bytes reach the disk before the caller relies on them.
    void Flush();

    DWORD GetFilePosition();
    bool IsEOF();
    DWORD MoveRelative(LONG offset);
    DWORD MoveFromBOF(DWORD offset);
    DWORD MoveFromEOF(LONG offset);
    DWORD GetSize();

    SYSTEMTIME GetLastWriteTime();
    SYSTEMTIME GetCreationTime();
    void SetCreationTime(const SYSTEMTIME& localTime);

    // Maps the file for reading and writing; with extra bytes the file grows by them.
    bool CreateMapping(DWORD extraBytes);
    // False for an empty file (nothing to read) or a failed mapping.
    bool CreateMappingReadOnly();
    void WriteToMapping(DWORD offset, const void* source, DWORD count);
    // Copies the text, without its terminator, into the last bytes of the view.
    void WriteTailOfMapping(const char* text);

    void Close();

    BYTE* GetView() const { return m_view; }
    DWORD GetViewSize() const { return m_viewSize; }
    HANDLE GetHandle() const { return m_file; }
    const char* GetPath() const { return m_path; }
    bool IsOpen() const { return m_file != nullptr; }

private:
    bool Open(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags);
    [[noreturn]] void Fail(const char* before, const char* after, bool withDescription);
    DWORD Seek(LONG offset, DWORD method, const char* failureText);
    void ReleaseMapping();

    HANDLE m_file = nullptr;
    HANDLE m_mapping = nullptr;
    BYTE* m_view = nullptr;
    DWORD m_viewSize = 0;
    char m_path[MAX_PATH + 1] = "";
};
