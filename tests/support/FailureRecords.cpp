#include "support/FailureRecords.h"

#include <windows.h>

#include <exception>
#include <utility>
#include <vector>

#include "foundation/FolderTree.h"
#include "foundation/bytes/GenericException.h"
#include "support/InFolder.h"
#include "support/Screenshot.h"

namespace {
const int kPicturesOfFailures = 3;

std::string g_test;
int g_failures = 0;
bool g_reporting = false;
std::vector<std::pair<std::string, std::string>> g_kept;

std::string FailuresFolder()
{
    return ProgramFolder() + "\\failures";
}

std::string FailureFolder()
{
    CreateDirectoryA(FailuresFolder().c_str(), nullptr);
    const std::string folder = FailuresFolder() + "\\" + g_test;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void Keep(const std::string& path, const std::string& name)
{
    if (FileExists(path))
        CopyFileA(path.c_str(), (FailureFolder() + "\\" + name).c_str(), FALSE);
}

// GoogleTest reports any exception it does not know as "Unknown C++
// exception" from inside its handler, where the exception can still be seen.
void ReportProgramException()
{
    const std::exception_ptr escaped = std::current_exception();
    if (!escaped)
        return;
    try {
        std::rethrow_exception(escaped);
    } catch (const CGenericException& failure) {
        ADD_FAILURE() << "the exception is the program's: \"" << failure.GetErrorText() << "\" (error "
                      << failure.GetErrorCode() << (failure.GetFilePath()[0] ? ", file " : "")
                      << failure.GetFilePath() << ")";
    } catch (...) {
    }
}
}

void FailureRecords::OnTestStart(const testing::TestInfo& test)
{
    g_test = std::string(test.test_suite_name()) + "." + test.name();
    // What an earlier run of the test kept is not this run's.
    DeleteDirectoryTree((FailuresFolder() + "\\" + g_test).c_str());
    g_failures = 0;
    g_kept.clear();
}

void FailureRecords::OnTestPartResult(const testing::TestPartResult& result)
{
    if (!result.failed() || g_reporting || g_test.empty())
        return;
    g_reporting = true;
    ReportProgramException();
    if (++g_failures <= kPicturesOfFailures)
        SaveScreenPictureAs(FailureFolder() + "\\at-failure-" + std::to_string(g_failures) + ".bmp");
    g_reporting = false;
}

void FailureRecords::OnTestEnd(const testing::TestInfo& test)
{
    if (test.result()->Failed()) {
        for (const auto& kept : g_kept)
            Keep(kept.first, kept.second);
    }
    g_kept.clear();
    g_test.clear();
}

void KeepIfTestFails(const std::string& path, const std::string& name)
{
    g_kept.emplace_back(path, name);
}

void KeepNowIfTestFailed(const std::string& path, const std::string& name)
{
    if (!g_test.empty() && testing::Test::HasFailure())
        Keep(path, name);
}
