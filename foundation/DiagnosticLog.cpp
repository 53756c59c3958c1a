#include "foundation/DiagnosticLog.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/Clock.h"
#include "foundation/DateTime.h"
#include "foundation/DataFolder.h"

namespace {
// A file held by another program for a moment is tried again, briefly.
const int kOpenAttempts = 20;
const DWORD kRetryPause = 50;
// The byte whose lock gives an appender its turn: at 2^62, past any real log.
const DWORD kTurnOffsetHigh = 0x40000000;
const int kTurnAttempts = 2000;

// A bare name ("error.txt") is a report of the data folder; a path stays as given.
std::string LogPath(const char* fileName)
{
    if (std::strpbrk(fileName, "\\/:"))
        return fileName;
    return DataFilePath(fileName);
}

// Every report goes through here. The file is opened for appending only, so on
// Windows each write lands whole at the end, and the appenders also take turns
// through a lock on one byte far past any log's end (where nobody reads or
// writes), for systems that emulate appending by a seek: threads and processes
// never overwrite or split each other's entries. A caller's entry is one write.
// A report that still cannot be written is given up quietly, and the caller's
// last error is kept.
void AppendQuietly(const void* bytes, DWORD count, const char* fileName)
{
    DWORD callersError = GetLastError();
    std::string path = LogPath(fileName);
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        file = CreateFileA(path.c_str(), GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD error = GetLastError();
        if (file != INVALID_HANDLE_VALUE || (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION))
            break;
        Sleep(kRetryPause);
    }
    if (file != INVALID_HANDLE_VALUE) {
        OVERLAPPED turn = {};
        turn.OffsetHigh = kTurnOffsetHigh;
        // Bounded: a thread ended while holding its turn (at process exit) would
        // otherwise stop every later report.
        bool locked = false;
        for (int attempt = 0; attempt < kTurnAttempts && !locked; ++attempt) {
            locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &turn) != FALSE;
            if (!locked)
                Sleep(1);
        }
        DWORD written = 0;
        WriteFile(file, bytes, count, &written, nullptr);
        if (locked)
            UnlockFileEx(file, 0, 1, 0, &turn);
        CloseHandle(file);
    }
    SetLastError(callersError);
}
}

void AppendTextToFile(const char* text, const char* fileName)
{
    if (text)
        AppendQuietly(text, static_cast<DWORD>(std::strlen(text)), fileName ? fileName : "messages.txt");
}

void AppendBytesToFile(const void* bytes, DWORD count, const char* fileName)
{
    if (bytes)
        AppendQuietly(bytes, count, fileName ? fileName : "messages.txt");
}

void WriteErrorLog(const char* text1, const char* text2, const char* fileName)
{
    char path[260];
    std::snprintf(path, sizeof path, "%s", fileName ? fileName : "error.txt");

    CDateTime now;
    now = GetLocalNow();
    // The entry is written in one piece so that entries of other threads cannot
    // land inside it.
    std::string entry = "\r\n";
    entry += now.FormatDateTime(false);
    entry += " ";
    if (text1)
        entry += text1;
    if (text2)
        entry += text2;
    entry += "\r\n";
    AppendQuietly(entry.data(), static_cast<DWORD>(entry.size()), path);
}

void WriteBoundsFaultReport(const char* prefix, const void* buffer, DWORD size, DWORD index)
{
    char report[128];
    std::snprintf(report, sizeof report, "Out of bounds, buffer size =%lu, index=%lu\r\nBuffer content:",
                  static_cast<unsigned long>(size), static_cast<unsigned long>(index));
    WriteErrorLog(prefix, report, nullptr);
    if (buffer)
        AppendBytesToFile(buffer, size, "error.txt");
}

void FormatLastErrorText(DWORD code, char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return;
    char details[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), details, 255, nullptr);
    std::snprintf(buffer, size, " , Error number: %lu, Details: %s", static_cast<unsigned long>(code), details);
}

void WriteLastErrorLog(const char* text)
{
    char description[400];
    FormatLastErrorText(GetLastError(), description, sizeof description);
    WriteErrorLog(text, description);
}

namespace {
int LogInsteadOfBox(void*, const char* text, const char* caption, unsigned flags)
{
    WriteErrorLog(caption ? caption : "", text ? text : "");
    return DefaultButtonAnswer(flags);
}
}

CBoxesToLog::CBoxesToLog() : m_previous(SetMessageBoxHandler(&LogInsteadOfBox)) {}

CBoxesToLog::~CBoxesToLog()
{
    SetMessageBoxHandler(m_previous);
}
