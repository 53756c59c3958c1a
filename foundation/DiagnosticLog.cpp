#include "foundation/DiagnosticLog.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/Clock.h"
#include "foundation/DateTime.h"
#include "foundation/GenericFile.h"

namespace {
void AppendQuietly(const void* bytes, DWORD count, const char* fileName)
{
    try {
        CGenericFile file;
        file.OpenSharedCreating(fileName);
        file.MoveFromEOF(0);
        file.WriteToFile(bytes, count);
    } catch (...) {
    }
}

template <class String>
void AppendErrorDescription(DWORD code, String& text)
{
    char description[400];
    FormatLastErrorText(code, description, sizeof description);
    text += description;
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

void GetLastErrorText(DWORD code, CGenericString& text)
{
    AppendErrorDescription(code, text);
}

void GetLastErrorText(DWORD code, CWorkerString& text)
{
    AppendErrorDescription(code, text);
}

void WriteLastErrorLog(const char* text)
{
    char description[400];
    FormatLastErrorText(GetLastError(), description, sizeof description);
    WriteErrorLog(text, description);
}
