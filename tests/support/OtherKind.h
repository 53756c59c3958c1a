#pragma once

#include <string>

#include "support/ProgramDriver.h"

// The program of the other kind beside this test program's: the 32-bit
// qnpost.exe for a 64-bit test program, built in a folder of its own. On a
// 64-bit Windows both run side by side, and a user may move from one to the
// other: each must read what the other stored, take what the other sends,
// and hand its command line to a running one of the other kind.

// This test program's kind, 32 or 64 bits.
int OwnKindBits();
int OtherKindBits();
// Why the other kind's program cannot run here, in a few words; empty when it
// can. Decided once per test program by starting 32-bit Wine, not by the
// packages installed.
const std::string& OtherKindTrouble();
// The install's qnpost.exe made the other kind's, or this test program's own
// kind's again.
void UseOtherKindProgram(const ProgramInstall& install);
void UseOwnKindProgram(const ProgramInstall& install);

// Skips the test, with the reason, where the other kind cannot run.
#define SKIP_UNLESS_OTHER_KIND_RUNS()                                                                        \
    do {                                                                                                   \
        if (!OtherKindTrouble().empty())                                                                   \
            GTEST_SKIP() << "the " << OtherKindBits() << "-bit program cannot run here: " << OtherKindTrouble(); \
    } while (0)
