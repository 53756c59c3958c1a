// Keeps a Wine prefix's desktop for the whole test run. Wine closes a desktop
// a moment after the last ordinary process on it has gone, and the next
// program must then wait for a new one to start. The test script starts one
// holder per prefix before the first test program and ends it after the last.
//   desktopholder.exe               checks that windows show on the screen,
//                                   prints "ready" (or the cause) and stays
//                                   until ended
//   desktopholder.exe --check       checks briefly, prints the cause when
//                                   they do not show, and ends (exit code 0
//                                   when they do)
//   desktopholder.exe --full-check  the same, waiting as long as a test
//                                   program waits for its first window
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "support/DesktopCheck.h"

namespace {
// Before a test program the desktop is already up: a short wait tells a
// lost one quickly, and one made again costs only time.
const DWORD kBriefCheckWaitMs = 20000;
}

int main(int argc, char** argv)
{
    const bool brief = argc > 1 && std::strcmp(argv[1], "--check") == 0;
    const bool full = argc > 1 && std::strcmp(argv[1], "--full-check") == 0;
    const std::string cause = WindowsShowOnScreen(brief ? kBriefCheckWaitMs : kDesktopWaitMs);
    if (!cause.empty()) {
        std::printf("no desktop: %s\n", cause.c_str());
        std::fflush(stdout);
        return 1;
    }
    if (brief || full)
        return 0;
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        Sleep(INFINITE);
}
