#pragma once

#include <windows.h>

// The one clock the program asks for "now" (local time). Tests set a fixed time.
SYSTEMTIME GetLocalNow();

// With a time, every later GetLocalNow answers it; with null, the real clock again.
void SetClockOverride(const SYSTEMTIME* fixedTime);
