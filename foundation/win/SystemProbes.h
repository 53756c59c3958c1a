#pragma once

#include <windows.h>

#include "foundation/StartupValues.h"

// Start-up probes of the platform; their answers go to the start-up values.

// The Windows family and version, then the common-controls version (a box
// tells when that cannot be read).
void DetectWindowsVersion();
// The rule by which a reported version becomes the program's flags.
void ApplyWindowsVersion(const OSVERSIONINFOA& reported, WindowsVersionInfo& version);

// The program file's own version; false when it has no version resource.
bool ReadFileVersion();
bool ReadFileVersionOf(const char* path, WORD version[4]);

// The XP visual style's colour scheme: 0 none or unknown, 1 blue ("NormalColor"),
// 2 olive ("HomeStead"), 3 silver ("Metallic").
int GetXpColorScheme();

// Desktop composition: 0 off or not available, 1 with an opaque colorization
// colour, 2 with a translucent one.
int LoadDwmFunctions();
// The same, asked of the named library (tests name one that does not exist).
int ReadCompositionState(const char* libraryName);

// Whether the named library offers SetLayeredWindowAttributes (start-up asks
// user32; tests name one without it).
bool ProbeLayeredWindows(const char* libraryName);

// Turns off showing window contents while dragging, when it is on.
void DisableDragFullWindows();
