#pragma once

#include <string>

// A few driving steps repeat the very action that a test checks, where a
// loaded machine was seen to lose it (a message, a click, a pointer's rest).
// Each extra try prints one line naming the test, the step and why, so that a
// run shows how often the program needed a second ask.
void ReportExtraTry(const std::string& step, int tryNumber, const std::string& why);
