#pragma once

#include <windows.h>

#include <functional>
#include <memory>

// The threads that send to other computers (a note's send, a chat text) are
// known here with their stop flags: the program stops them all at once when
// it closes or unloads its data, and waits for them within one bound. A
// thread that is still running then is cut off from the delivery records, so
// that nothing it learns later lands in lists that were emptied or loaded anew.

// Stopped together: the program closing or the note going away.
struct CSendControl {
    volatile LONG stop = 0;
    HANDLE animationStop = nullptr;  // manual-reset event
    // A notice the user was told goes out (that the user left a chat): the
    // program closing lets it finish within its wait rather than stop it.
    bool finishBeforeClose = false;
    CSendControl();
    ~CSendControl();
    CSendControl(const CSendControl&) = delete;
    CSendControl& operator=(const CSendControl&) = delete;

private:
    friend bool RecordUnlessCutOff(const CSendControl& control, const std::function<void()>& record);
    friend bool EndSendThreads(DWORD timeoutMs);
    bool m_cutOff = false;  // guarded by the records' gate
};

// Keeps a handle of the running thread (the caller keeps its own) beside its control.
void RegisterSendThread(HANDLE thread, const std::shared_ptr<CSendControl>& control);

// Runs the recording of a delivery unless the thread was cut off; true when it ran.
bool RecordUnlessCutOff(const CSendControl& control, const std::function<void()>& record);

// Sets every registered thread's stop flag, but those of the notices that are
// let finish, and waits up to the bound for them to end; those still running
// then are stopped and cut off. True when every one ended.
bool EndSendThreads(DWORD timeoutMs);

// Waits for a thread that is ending, answering the messages other threads
// send meanwhile; false when it did not end within the time.
bool AwaitThread(HANDLE thread, DWORD timeoutMs);

// How long closing waits for the send threads: each sees its stop flag within
// a fraction of a second, unless a name lookup of the system holds it.
const DWORD kSendThreadsEndMs = 5000;
