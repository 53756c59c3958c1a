#include "store/FileStepRetries.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DiagnosticLog.h"

namespace {
// A short pause gives a program that holds the file (a virus scanner, a
// backup) the moment it needs, without making a failing save hang.
const DWORD kPauseBetweenTries = 10;
// About three seconds in all, counted on the clock: a step may have short
// retries of its own (writing the record does), which a count of tries
// would multiply.
const int kSettlingTries = 60;
const DWORD kPauseBetweenSettlingTries = 50;
const DWORD kSettlingMs = 3000;

bool RetryWithPause(const std::function<bool()>& step, const char* logPrefix, const char* failureText, int tries,
                    DWORD pause, DWORD withinMs = INFINITE)
{
    const DWORD start = GetTickCount();
    DWORD code = ERROR_SUCCESS;
    for (int attempt = 0;; ++attempt) {
        if (step())
            return true;
        code = GetLastError();
        char description[400];
        FormatLastErrorText(code, description, sizeof description);
        char line[700];
        std::snprintf(line, sizeof line, "%s%d\r\n%s", failureText, attempt, description);
        WriteErrorLog(logPrefix, line);
        if (attempt + 1 >= tries || GetTickCount() - start >= withinMs)
            break;
        Sleep(pause);
    }
    // The caller tells the user what failed from the last try's error.
    SetLastError(code);
    return false;
}

// The steps given up in the end under way, by their failure texts, with the
// errors of their last tries; the main thread and the send threads share them.
struct GivenUpSteps {
    CCriticalSection lock;
    int ends = 0;
    std::map<std::string, DWORD> errors;
};

GivenUpSteps& GivenUp()
{
    static GivenUpSteps steps;
    return steps;
}

// Whether the end under way gave the step up, with its last error.
bool GivenUpInThisEnd(const char* failureText, DWORD& error)
{
    GivenUpSteps& steps = GivenUp();
    CCriticalSectionLock hold(steps.lock);
    const auto found = steps.errors.find(failureText);
    if (found == steps.errors.end())
        return false;
    error = found->second;
    return true;
}

// "Error copying file "notes.qpd"" of "\r\nError copying file "notes.qpd" Iteration ".
std::string StepName(const char* failureText)
{
    std::string name = failureText;
    name.erase(0, name.find_first_not_of("\r\n"));
    const std::string tries = " Iteration ";
    if (name.size() >= tries.size() && name.compare(name.size() - tries.size(), tries.size(), tries) == 0)
        name.erase(name.size() - tries.size());
    return name;
}

void GiveUpInThisEnd(const char* failureText, DWORD error, const char* logPrefix)
{
    GivenUpSteps& steps = GivenUp();
    CCriticalSectionLock hold(steps.lock);
    if (steps.ends == 0 || !steps.errors.emplace(failureText, error).second)
        return;
    WriteErrorLog(logPrefix,
                  (StepName(failureText) + ": given up for the rest of this end; the next save tries it again").c_str());
}
}

bool RetryFileStep(const std::function<bool()>& step, const char* logPrefix, const char* failureText)
{
    DWORD error = ERROR_SUCCESS;
    if (GivenUpInThisEnd(failureText, error)) {
        SetLastError(error);
        return false;
    }
    if (RetryWithPause(step, logPrefix, failureText, kFileStepTries, kPauseBetweenTries))
        return true;
    error = GetLastError();
    GiveUpInThisEnd(failureText, error, logPrefix);
    SetLastError(error);
    return false;
}

CEndGivesUpFailedSteps::CEndGivesUpFailedSteps()
{
    GivenUpSteps& steps = GivenUp();
    CCriticalSectionLock hold(steps.lock);
    ++steps.ends;
}

CEndGivesUpFailedSteps::~CEndGivesUpFailedSteps()
{
    GivenUpSteps& steps = GivenUp();
    CCriticalSectionLock hold(steps.lock);
    if (--steps.ends == 0)
        steps.errors.clear();
}

bool RetrySettlingStep(const std::function<bool()>& step, const char* logPrefix, const char* failureText)
{
    HCURSOR before = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const bool done =
        RetryWithPause(step, logPrefix, failureText, kSettlingTries, kPauseBetweenSettlingTries, kSettlingMs);
    const DWORD error = GetLastError();
    SetCursor(before);
    SetLastError(error);
    return done;
}
