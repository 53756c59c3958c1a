#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Saves a picture of the whole screen as "screenshots\<name>.bmp" beside the
// test program, so that a person can look at what a test showed. False when
// the screen cannot be read or the file written.
bool SaveScreenshot(const std::string& name);
// The same picture written to that path.
bool SaveScreenPictureAs(const std::string& path);

// The same once the window and its controls have painted what they show (a
// bounded wait); false also when they did not within the time.
bool SaveScreenshotOf(HWND window, const std::string& name);
// Waits until the window and its controls have painted what they show; false
// when they did not within the time.
bool WaitUntilPainted(HWND window);

// The colours of the screen's pixels in the area, row by row from the top;
// empty for an empty area.
std::vector<COLORREF> ScreenPixels(const RECT& area);
// A pixel of black or nearly black text (smoothed edges are lighter).
bool IsDarkPixel(COLORREF colour);

// Whether the window shows readably on the screen once it has painted: most of
// it light (its own background, not a black rectangle) and a little of it dark
// (its texts). The screen is saved as the picture of that name either way.
testing::AssertionResult ShowsReadably(HWND window, const std::string& name);

// The program's own box (captioned "Quillnet+") checked to show readably and
// saved as the picture of that name, then answered with the button (OK
// unless told) and awaited until it has gone; its text, or "(no box)" when
// none came.
std::string AcknowledgeReadableProgramBox(DWORD processId, const std::string& name, int buttonId = IDOK);
