#pragma once

#include <windows.h>

#include <string>

// This test program started again in a second process to run one disabled test
// of its own ("Suite.DISABLED_Name"), for tests that need another program. The
// child inherits the environment, through which it can be told what to do.
class ChildTest {
public:
    explicit ChildTest(const char* testName);
    // Waits for the child (bounded) and ends it if it is still running.
    ~ChildTest();
    ChildTest(const ChildTest&) = delete;
    ChildTest& operator=(const ChildTest&) = delete;

    bool Started() const { return m_process != nullptr; }
    // Waits at most 60 s; true when the child ended and its test passed.
    bool Passed();
    // Waits at most 60 s; the child's exit code, or kNotEnded.
    DWORD ExitCode();
    static const DWORD kNotEnded = 0xFFFFFFFF;

private:
    HANDLE m_process = nullptr;
};

// What a child is told through its environment: the variable's text, or
// empty when it is not set (or too long for a path).
std::string ChildVariable(const char* name);
