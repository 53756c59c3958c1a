#pragma once

#include <string>

#include <gtest/gtest.h>

// What a failing test saw is kept beside the test program, in
// "failures\<Suite.Test>", so that a failure on another machine can be read
// without running the test again: a picture of the screen at each of its
// first failures, the screenshots the test took and the error.txt of each
// program it ran. An exception of the program's own kind that escapes the
// test is reported with its text and error code.
class FailureRecords : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo& test) override;
    void OnTestPartResult(const testing::TestPartResult& result) override;
    void OnTestEnd(const testing::TestInfo& test) override;
};

// A file the running test made, kept under the name if the test fails.
void KeepIfTestFails(const std::string& path, const std::string& name);
// The same for a file about to go (a program's folder being removed): kept
// now if the test has already failed.
void KeepNowIfTestFailed(const std::string& path, const std::string& name);
