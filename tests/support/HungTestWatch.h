#pragma once

#include <gtest/gtest.h>

// A test that has run longer than any test should (every wait in the driver is
// bounded, so only a call that never returns gets there) is reported with where
// its thread stands, and the test program ends at once with a failure, instead
// of leaving CTest to kill it silently many minutes later.
class HungTestWatch : public testing::EmptyTestEventListener {
public:
    explicit HungTestWatch(unsigned long limitMs);
    ~HungTestWatch() override;
    HungTestWatch(const HungTestWatch&) = delete;
    HungTestWatch& operator=(const HungTestWatch&) = delete;

    void OnTestStart(const testing::TestInfo& test) override;
    void OnTestEnd(const testing::TestInfo& test) override;
};
