#include "foundation/WorkingCopy.h"

#include <windows.h>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/HeldFileWait.h"

namespace {
// A virus scanner or a backup program opens a freshly written file for a moment;
// a short wait lets it finish without making a failing save hang.
const int kReplaceTries = 20;
const DWORD kWorkingCopyPause = 10;
}

bool RetryWhileHeld(const std::function<bool()>& step)
{
    for (int attempt = 0; attempt < kReplaceTries; ++attempt) {
        if (step())
            return true;
        if (attempt + 1 < kReplaceTries)
            Sleep(kWorkingCopyPause);
    }
    return false;
}

bool FileHeldNow(const char* path, DWORD access, DWORD sharing)
{
    HANDLE file = CreateFileA(path, access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    const DWORD code = GetLastError();
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

bool FileStaysHeld(const char* path, DWORD access, DWORD sharing)
{
    const auto letGo = [&] { return !FileHeldNow(path, access, sharing); };
    return StartWaitsForHeldFiles() ? !RetryWhileHeldAtStart(path, letGo) : !RetryWhileHeld(letGo);
}

bool ReplaceWithWorkingCopy(const char* workingCopy, const char* target)
{
    return MoveFileExA(workingCopy, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

CWorkingCopy::CWorkingCopy(const char* target) : m_target(target ? target : ""), m_path(m_target + ".new")
{
    RefuseWritingWhenSealed(m_target.c_str());
    m_file.CreateOverwrite(m_path.c_str());
}

CWorkingCopy::~CWorkingCopy()
{
    if (m_committed)
        return;
    m_file.Close();
    DeleteFileA(m_path.c_str());
}

void CWorkingCopy::Commit()
{
    m_file.Flush();
    m_file.Close();
    if (RetryWhileHeld([this] { return ReplaceWithWorkingCopy(m_path.c_str(), m_target.c_str()); })) {
        m_committed = true;
        return;
    }
    DWORD code = GetLastError();
    char description[400] = "";
    FormatLastErrorText(code, description, sizeof description);
    std::string text = "The file could not be replaced: " + m_target + "\r\n" + description;
    throw CGenericException(text.c_str());
}
