#include "support/ChildTest.h"

#include <string>

#include "support/LowSpaceTaken.h"
ChildTest::ChildTest(const char* testName)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string command =
        std::string("\"") + program + "\" --gtest_also_run_disabled_tests --gtest_filter=" + testName;
    PROCESS_INFORMATION process = {};
    if (!StartWithLowSpaceTaken(nullptr, &command[0], nullptr, process))
        return;
    CloseHandle(process.hThread);
    m_process = process.hProcess;
}

ChildTest::~ChildTest()
{
    if (!m_process)
        return;
    if (WaitForSingleObject(m_process, 30000) != WAIT_OBJECT_0)
        TerminateProcess(m_process, 1);
    CloseHandle(m_process);
}

bool ChildTest::Passed()
{
    return ExitCode() == 0;
}

DWORD ChildTest::ExitCode()
{
    if (!m_process || WaitForSingleObject(m_process, 60000) != WAIT_OBJECT_0)
        return kNotEnded;
    DWORD code = kNotEnded;
    GetExitCodeProcess(m_process, &code);
    return code;
}

std::string ChildVariable(const char* name)
{
    char value[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}
