#include "foundation/FileSetReplacement.h"

#include <windows.h>

#include "foundation/FileHelpers.h"
#include "foundation/WorkingCopy.h"

namespace {
// Nobody else has the file open: it can be replaced or deleted now.
bool FreeToReplace(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}
}

CFileSetReplacement::~CFileSetReplacement()
{
    RemoveLeftovers();
}

void CFileSetReplacement::Replace(const std::string& source, const std::string& target)
{
    m_steps.push_back(Step{source, target});
}

void CFileSetReplacement::Remove(const std::string& target)
{
    m_steps.push_back(Step{std::string(), target});
}

std::string CFileSetReplacement::StagedPath(const Step& step)
{
    return step.target + ".put";
}

std::string CFileSetReplacement::KeptPath(const Step& step)
{
    return step.target + ".was";
}

bool CFileSetReplacement::Prepare(std::vector<std::string>& failed)
{
    failed.clear();
    for (Step& step : m_steps) {
        step.targetExisted = FileExists(step.target.c_str());
        if (!step.source.empty() && !CopyFileA(step.source.c_str(), StagedPath(step).c_str(), FALSE))
            failed.push_back(FileNameOf(step.source));
        else if (step.targetExisted && !CopyFileA(step.target.c_str(), KeptPath(step).c_str(), FALSE))
            failed.push_back(FileNameOf(step.target));
        else if (step.targetExisted && !FreeToReplace(step.target))
            failed.push_back(FileNameOf(step.target));
    }
    m_prepared = failed.empty();
    if (!m_prepared)
        RemoveLeftovers();
    return m_prepared;
}

bool CFileSetReplacement::Commit(std::vector<std::string>& failed, bool& notReturned)
{
    failed.clear();
    notReturned = false;
    if (!m_prepared)
        return false;
    for (Step& step : m_steps) {
        const bool moved = step.source.empty()
                               ? !step.targetExisted || DeleteFileA(step.target.c_str())
                               : ReplaceWithWorkingCopy(StagedPath(step).c_str(), step.target.c_str());
        if (!moved) {
            failed.push_back(FileNameOf(step.target));
            break;
        }
        step.done = true;
    }
    if (!failed.empty()) {
        // Back to the set of before: what was replaced gets its kept bytes.
        for (Step& step : m_steps) {
            if (!step.done)
                continue;
            const std::string kept = KeptPath(step);
            const bool back = step.targetExisted ? ReplaceWithWorkingCopy(kept.c_str(), step.target.c_str())
                                                 : DeleteFileA(step.target.c_str());
            step.keptForUser = !back;
            notReturned = notReturned || !back;
        }
    }
    RemoveLeftovers();
    m_prepared = false;
    return failed.empty();
}

// The kept bytes of a target that could not be put back stay for the user.
void CFileSetReplacement::RemoveLeftovers()
{
    for (const Step& step : m_steps) {
        if (!step.source.empty())
            DeleteFileA(StagedPath(step).c_str());
        if (!step.keptForUser)
            DeleteFileA(KeptPath(step).c_str());
    }
}
