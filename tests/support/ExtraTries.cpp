#include "support/ExtraTries.h"

#include <cstdio>

#include <gtest/gtest.h>

void ReportExtraTry(const std::string& step, int tryNumber, const std::string& why)
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "(no test)";
    std::printf("[ TRY AGAIN ] %s: %s, try %d: %s\n", name.c_str(), step.c_str(), tryNumber, why.c_str());
    std::fflush(stdout);
}
