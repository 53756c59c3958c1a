#pragma once

#include <windows.h>

// The thread of a running program that runs its windows held still, then let
// run a moment at a time, so that a test can look at what the program leaves
// between two moments and end it as a crash ends it at the moment it wants.
// The thread runs freely again once the object goes.
class ProgramStepper {
public:
    explicit ProgramStepper(DWORD threadId);
    ~ProgramStepper();
    ProgramStepper(const ProgramStepper&) = delete;
    ProgramStepper& operator=(const ProgramStepper&) = delete;

    // Whether the thread is held still now.
    bool Held() const { return m_held; }
    // The thread let run for a moment, then held still again: once this
    // returns, it does not run. A thread let go gets its turn only some time
    // later, the longer the busier the machine: a moment in which it did not
    // move is followed by a longer one, up to a bound, and after one in which
    // it moved the moments start short again. False when the thread could
    // not be held.
    bool Step();

private:
    // Held still, where it stands read into the context.
    bool HoldStill(CONTEXT& place);
    // Let run for that long; whether it moved.
    bool RunAMoment(LONGLONG ticks);

    HANDLE m_thread = nullptr;
    // Where the thread stood when it was last held.
    CONTEXT m_place;
    bool m_held = false;
    LONGLONG m_ticksPerSecond = 1;
};
