#pragma once

#include <windows.h>

#include "foundation/bytes/MessageBoxes.h"

// Append-only diagnostic reports. A bare file name ("error.txt", "messages.txt",
// ...) is a file of the data folder, whatever the current folder; a name with a
// folder is used as it stands. Each call appends its bytes in one piece, so
// entries of other threads and processes never overwrite or split it. A writer
// that cannot write gives up quietly: a failing report must never take the
// program down.

// Appends the text (without its terminator); no file name means "messages.txt".
void AppendTextToFile(const char* text, const char* fileName = nullptr);
void AppendBytesToFile(const void* bytes, DWORD count, const char* fileName = nullptr);

// One entry: "\r\n", the local time "dd-mm-yyyy hh:mm:ss", a blank, text1, text2,
// "\r\n". No file name means "error.txt".
void WriteErrorLog(const char* text1, const char* text2, const char* fileName = nullptr);

// The report of an index past a buffer, in "error.txt": an entry with the prefix,
// "Out of bounds, buffer size =<size>, index=<index>" and "Buffer content:", then
// the first size bytes of the buffer (none when it is null).
void WriteBoundsFaultReport(const char* prefix, const void* buffer, DWORD size, DWORD index);

// An error-log entry: the text followed by the description of the thread's last
// system error.
void WriteLastErrorLog(const char* text);

// The description of a system error into a caller's buffer (always
// terminated): " , Error number: <code>, Details: <the system's text>".
void FormatLastErrorText(DWORD code, char* buffer, size_t size);

// The same description appended to one of the program's strings.
template <class String>
void GetLastErrorText(DWORD code, String& text)
{
    char description[400];
    FormatLastErrorText(code, description, sizeof description);
    text += description;
}

// While it lives, the program's boxes go to "error.txt" as entries (caption,
// then text) and answer with their default button: for work that must not stop
// on a box, such as loading a picture another computer sent. Main thread only.
class CBoxesToLog {
public:
    CBoxesToLog();
    ~CBoxesToLog();
    CBoxesToLog(const CBoxesToLog&) = delete;
    CBoxesToLog& operator=(const CBoxesToLog&) = delete;

private:
    MessageBoxHandler m_previous;
};
