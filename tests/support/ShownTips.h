#pragma once

#include <windows.h>

#include <string>

// The pointer comes to rest at the point of the screen, as the user's hand
// leaves it there; the text of the process's tip on show once it reads as
// expected (a bounded wait), else the last one seen, empty when none showed.
std::string TipAfterRestAt(DWORD processId, POINT point, const std::string& expected);
