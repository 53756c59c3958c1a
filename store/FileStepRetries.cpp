#include "store/FileStepRetries.h"

#include <windows.h>

#include <cstdio>

#include "foundation/DiagnosticLog.h"

namespace {
// A short pause gives a program that holds the file (a virus scanner, a
// backup) the moment it needs, without making a failing save hang.
const DWORD kPauseBetweenTries = 10;
// About three seconds in all.
const int kSettlingTries = 60;
const DWORD kPauseBetweenSettlingTries = 50;

bool RetryWithPause(const std::function<bool()>& step, const char* logPrefix, const char* failureText, int tries,
                    DWORD pause)
{
    DWORD code = ERROR_SUCCESS;
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (step())
            return true;
        code = GetLastError();
        char description[400];
        FormatLastErrorText(code, description, sizeof description);
        char line[700];
        std::snprintf(line, sizeof line, "%s%d\r\n%s", failureText, attempt, description);
        WriteErrorLog(logPrefix, line);
        if (attempt + 1 < tries)
            Sleep(pause);
    }
    // The caller tells the user what failed from the last try's error.
    SetLastError(code);
    return false;
}
}

bool RetryFileStep(const std::function<bool()>& step, const char* logPrefix, const char* failureText)
{
    return RetryWithPause(step, logPrefix, failureText, kFileStepTries, kPauseBetweenTries);
}

bool RetrySettlingStep(const std::function<bool()>& step, const char* logPrefix, const char* failureText)
{
    HCURSOR before = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const bool done = RetryWithPause(step, logPrefix, failureText, kSettlingTries, kPauseBetweenSettlingTries);
    const DWORD error = GetLastError();
    SetCursor(before);
    SetLastError(error);
    return done;
}
