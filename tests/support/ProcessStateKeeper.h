#pragma once

#include <gtest/gtest.h>

#include "foundation/bytes/MessageBoxes.h"

// What a test may change in the test process and leave behind when it ends
// early (an assertion, an exception) is put back as it was before the test, so
// that every test starts from the same process whatever ran before it: the
// current folder and the data folder, the run's own box handler, the values
// learnt at start-up (the program folder, ...), the settings and the user's
// settings read from the tables (a password, ...), the program-wide settings
// tests replace (clock, gradients, colour count, crypt providers, destination
// defaults, backup folder, menu look, save-step observer, quiet failure
// target, node pool, memo start), the free-record lists and the mouse button.
// A test that closed the process's window station or desktop, which cannot be
// put back, fails.
class ProcessStateKeeper : public testing::EmptyTestEventListener {
public:
    explicit ProcessStateKeeper(MessageBoxHandler runBoxes) : m_runBoxes(runBoxes) {}
    void OnTestStart(const testing::TestInfo& test) override;
    void OnTestEnd(const testing::TestInfo& test) override;

private:
    MessageBoxHandler m_runBoxes;
};
