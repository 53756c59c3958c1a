#pragma once

#include <windows.h>

#include <functional>
#include <string>

// While the program starts, another program's glance at one of its files (a
// virus scanner, a synchronising tool) only delays the start: a step on a
// file that meets a sharing or lock violation is tried again every tenth of a
// second, five seconds at most, wherever the start meets it.
const int kHeldFileLooks = 50;
const DWORD kPauseBetweenHeldFileLooks = 100;

// The start's waits, on the thread that creates the object, from Begin until
// End or the object goes; other threads never wait.
class CStartWaitsForHeldFiles {
public:
    CStartWaitsForHeldFiles() = default;
    ~CStartWaitsForHeldFiles() { End(); }
    CStartWaitsForHeldFiles(const CStartWaitsForHeldFiles&) = delete;
    CStartWaitsForHeldFiles& operator=(const CStartWaitsForHeldFiles&) = delete;

    void Begin();
    void End();
};

// Whether the calling thread is starting the program, so that its steps on
// held files wait.
bool StartWaitsForHeldFiles();

// The start has read the user's data: from here on, also while the main
// window's creation goes on (its password prompts let other work in), no
// step waits for a held file.
void EndStartWaitsForHeldFiles();

// Work handled in a message loop nested inside the start (a box's, a
// prompt's), such as the system's question, a timer or another program's
// request, is not the start's own: while an object of this class lives, none
// of its steps waits for a held file; the start's waits go on after it.
class CStartWaitsPaused {
public:
    CStartWaitsPaused();
    ~CStartWaitsPaused();
    CStartWaitsPaused(const CStartWaitsPaused&) = delete;
    CStartWaitsPaused& operator=(const CStartWaitsPaused&) = delete;

private:
    bool m_paused;
};

// The line error.txt gets when the start waits for the files named.
void NoteStartWaitingFor(const std::string& names, bool several);

// The step (true when done, else with the system's error as the last error),
// tried once; while the start waits, tried again as long as it fails because
// another program holds the file. The wait is noted in error.txt, and a file
// that stayed held through a whole wait is not waited for again: the start
// then stops or goes on without it at once. Whether the step succeeded, with
// its last error.
bool RetryWhileHeldAtStart(const char* path, const std::function<bool()>& step);
