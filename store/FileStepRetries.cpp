#include "store/FileStepRetries.h"

#include <windows.h>

#include <cstdio>

#include "foundation/DiagnosticLog.h"

namespace {
// A short pause gives a program that holds the file (a virus scanner, a
// backup) the moment it needs, without making a failing save hang.
const DWORD kPauseBetweenTries = 10;
}

bool RetryFileStep(const std::function<bool()>& step, const char* logPrefix, const char* failureText)
{
    for (int attempt = 0; attempt < kFileStepTries; ++attempt) {
        if (step())
            return true;
        DWORD code = GetLastError();
        char description[400];
        FormatLastErrorText(code, description, sizeof description);
        char line[700];
        std::snprintf(line, sizeof line, "%s%d\r\n%s", failureText, attempt, description);
        WriteErrorLog(logPrefix, line);
        if (attempt + 1 < kFileStepTries)
            Sleep(kPauseBetweenTries);
    }
    return false;
}
