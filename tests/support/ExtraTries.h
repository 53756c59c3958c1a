#pragma once

#include <string>

// A few driving steps make an action again where the test's own way of
// driving, not the program, was seen to keep it from its effect (a press made
// before the window could have seen what it waits for, keys told in a posted
// move that the system's own move undid, a menu that took a selection from
// the pointer before the keys). Each extra try prints one line naming the
// test, the step and that reason, so that a run shows each of them; a step
// that meets anything else fails.
void ReportExtraTry(const std::string& step, int tryNumber, const std::string& why);
