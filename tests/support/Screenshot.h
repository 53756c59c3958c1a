#pragma once

#include <windows.h>

#include <string>

// Saves a picture of the whole screen as "screenshots\<name>.bmp" beside the
// test program, so that a person can look at what a test showed. False when
// the screen cannot be read or the file written.
bool SaveScreenshot(const std::string& name);

// The same once the window and its controls have painted what they show (a
// bounded wait); false also when they did not within the time.
bool SaveScreenshotOf(HWND window, const std::string& name);
