#pragma once

#include <gtest/gtest.h>

// A test that has run longer than any test should (every wait in the driver is
// bounded, so only a call that never returns gets there) is reported with where
// its thread stands, and the test program ends at once with a failure, instead
// of leaving CTest to kill it silently many minutes later. So is a test program
// that has not ended some time after its last test (its folder's removal, the
// destructors of its objects): then every thread of it is shown, and every
// program it started and left running, which is ended with it.
class HungTestWatch : public testing::EmptyTestEventListener {
public:
    HungTestWatch(unsigned long testLimitMs, unsigned long endLimitMs);
    ~HungTestWatch() override;
    HungTestWatch(const HungTestWatch&) = delete;
    HungTestWatch& operator=(const HungTestWatch&) = delete;

    void OnTestStart(const testing::TestInfo& test) override;
    void OnTestEnd(const testing::TestInfo& test) override;
    void OnTestProgramEnd(const testing::UnitTest& unitTest) override;
};
