#include "store/FileStepRetries.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/ModalLoops.h"
#include "store/FileStepFailures.h"

namespace {
// A short pause gives a program that holds the file (a virus scanner, a
// backup) the moment it needs, without making a failing save hang.
const DWORD kFileStepPause = 10;
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

}

// What one save, action or end has given up, keyed on the step and the file.
struct CHeldFilesMetOnce::Steps {
    explicit Steps(HeldFileWork kind) : work(kind) {}
    HeldFileWork work;
    std::map<std::pair<FileStepKind, std::string>, DWORD> errors;
    // The files, as error.txt and the boxes name them, with their errors.
    std::vector<std::pair<std::string, unsigned long>> files;
};

namespace {
using Steps = CHeldFilesMetOnce::Steps;

// One piece of work under way on a thread, and the loop depth it runs at.
struct WorkUnderWay {
    std::shared_ptr<Steps> steps;
    unsigned loopDepth;
};

// Every given-up set, and the list of the ends under way, are shared with the
// other threads: the main thread's ends hold for the send threads.
CCriticalSection& GivenUpLock()
{
    static CCriticalSection lock;
    return lock;
}

std::vector<Steps*>& EndsUnderWay()
{
    static std::vector<Steps*> ends;
    return ends;
}

// The work under way on this thread, innermost last; made with its first
// piece and gone with its last, so that no thread keeps an object to destroy
// at its end.
thread_local std::vector<WorkUnderWay>* t_work = nullptr;

enum class StepOutcome { kDone, kFailed, kGivenUpNow, kSkipped };
thread_local StepOutcome t_lastOutcome = StepOutcome::kDone;

// The set this thread's step falls under (the lock held): its own work when
// the step is that work's, none when a loop of that work let the step in,
// else the innermost end under way.
Steps* StepsForThisThread()
{
    if (t_work)
        return t_work->back().loopDepth == ModalLoopDepth() ? t_work->back().steps.get() : nullptr;
    return EndsUnderWay().empty() ? nullptr : EndsUnderWay().back();
}

std::pair<FileStepKind, std::string> KeyOf(const FileStep& step)
{
    std::string path = step.path;
    if (!path.empty())
        CharLowerBuffA(&path[0], static_cast<DWORD>(path.size()));
    return {step.kind, path};
}

// Whether the work under way gave the step up, with its last error.
bool GivenUpBefore(const FileStep& step, DWORD& error)
{
    CCriticalSectionLock hold(GivenUpLock());
    Steps* steps = StepsForThisThread();
    if (!steps)
        return false;
    const auto found = steps->errors.find(KeyOf(step));
    if (found == steps->errors.end())
        return false;
    error = found->second;
    return true;
}

const char* WorkWord(HeldFileWork work)
{
    switch (work) {
    case HeldFileWork::kAction:
        return "action";
    case HeldFileWork::kEnd:
        return "end";
    default:
        return "save";
    }
}

// "Error copying file "notes.qpd"" of "\r\nError copying file "notes.qpd" Iteration ".
std::string StepName(const char* failureText)
{
    std::string name = failureText;
    name.erase(0, name.find_first_not_of("\r\n"));
    name.erase(name.find_last_not_of(' ') + 1);
    const std::string tries = " Iteration";
    if (name.size() >= tries.size() && name.compare(name.size() - tries.size(), tries.size(), tries) == 0)
        name.erase(name.size() - tries.size());
    return name;
}

// A step that failed all its tries on a held file is given up for the rest
// of the work under way, and error.txt says so once; true when it is.
bool GiveUp(const FileStep& step, DWORD error, const char* logPrefix, const char* failureText)
{
    // A missing or damaged file is told at each step, as ever.
    if (!MayBeHeldFileError(error))
        return false;
    CCriticalSectionLock hold(GivenUpLock());
    Steps* steps = StepsForThisThread();
    if (!steps)
        return false;
    if (!steps->errors.emplace(KeyOf(step), error).second)
        return true;
    const std::string name = FileNameOf(step.path);
    if (std::find_if(steps->files.begin(), steps->files.end(),
                     [&name](const std::pair<std::string, unsigned long>& file) { return file.first == name; }) ==
        steps->files.end())
        steps->files.emplace_back(name, error);
    const std::string line = StepName(failureText) + " (" + FileErrorCause(error) + "; " +
                             std::to_string(static_cast<int>(kFileStepTries)) + " tries): given up for the rest of this " +
                             WorkWord(steps->work) + "; the next save tries it again";
    WriteErrorLog(logPrefix, line.c_str());
    return true;
}
}

bool RetryFileStep(const FileStep& step, const std::function<bool()>& attempt, const char* logPrefix,
                   const char* failureText)
{
    DWORD error = ERROR_SUCCESS;
    if (GivenUpBefore(step, error)) {
        t_lastOutcome = StepOutcome::kSkipped;
        SetLastError(error);
        return false;
    }
    if (RetryWithPause(attempt, logPrefix, failureText, kFileStepTries, kFileStepPause)) {
        t_lastOutcome = StepOutcome::kDone;
        return true;
    }
    error = GetLastError();
    t_lastOutcome = GiveUp(step, error, logPrefix, failureText) ? StepOutcome::kGivenUpNow : StepOutcome::kFailed;
    SetLastError(error);
    return false;
}

bool LastFileStepGivenUp()
{
    return t_lastOutcome == StepOutcome::kGivenUpNow || t_lastOutcome == StepOutcome::kSkipped;
}

bool LastFileStepSkipped()
{
    return t_lastOutcome == StepOutcome::kSkipped;
}

CHeldFilesMetOnce::CHeldFilesMetOnce(HeldFileWork work)
{
    CCriticalSectionLock hold(GivenUpLock());
    const unsigned depth = ModalLoopDepth();
    if (work == HeldFileWork::kPartOfWorkUnderWay && t_work && t_work->back().loopDepth == depth) {
        m_steps = t_work->back().steps;
    } else {
        m_steps = std::make_shared<Steps>(work);
        if (work == HeldFileWork::kEnd)
            EndsUnderWay().push_back(m_steps.get());
    }
    if (!t_work)
        t_work = new std::vector<WorkUnderWay>;
    t_work->push_back({m_steps, depth});
    t_lastOutcome = StepOutcome::kDone;
}

CHeldFilesMetOnce::~CHeldFilesMetOnce()
{
    CCriticalSectionLock hold(GivenUpLock());
    t_work->pop_back();
    if (t_work->empty()) {
        delete t_work;
        t_work = nullptr;
    }
    std::vector<Steps*>& ends = EndsUnderWay();
    if (m_steps.use_count() == 1)
        ends.erase(std::remove(ends.begin(), ends.end(), m_steps.get()), ends.end());
    t_lastOutcome = StepOutcome::kDone;
}

std::string CHeldFilesMetOnce::HeldFilesText() const
{
    CCriticalSectionLock hold(GivenUpLock());
    return m_steps->files.empty() ? std::string() : UnwritableFilesText(m_steps->files);
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
