#include "net/SendThreads.h"

#include <vector>

#include "foundation/CriticalSectionLock.h"

namespace {
struct RegisteredThread {
    HANDLE thread;
    std::shared_ptr<CSendControl> control;
};

CCriticalSection& RegistryLock()
{
    static CCriticalSection lock;
    return lock;
}

std::vector<RegisteredThread>& Registry()
{
    static std::vector<RegisteredThread> threads;
    return threads;
}

// Held while a thread records a delivery and while a thread is cut off: a
// thread is never cut off in the middle of its records.
CCriticalSection& RecordsGate()
{
    static CCriticalSection gate;
    return gate;
}

void Stop(CSendControl& control)
{
    InterlockedExchange(&control.stop, 1);
    if (control.animationStop)
        SetEvent(control.animationStop);
}

bool HasEnded(HANDLE thread)
{
    return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
}

// Forgets the threads that have ended; the caller holds the registry's lock.
void ForgetEnded()
{
    std::vector<RegisteredThread>& threads = Registry();
    for (size_t k = threads.size(); k-- > 0;)
        if (HasEnded(threads[k].thread)) {
            CloseHandle(threads[k].thread);
            threads.erase(threads.begin() + static_cast<std::ptrdiff_t>(k));
        }
}
}

CSendControl::CSendControl() : animationStop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

CSendControl::~CSendControl()
{
    if (animationStop)
        CloseHandle(animationStop);
}

void RegisterSendThread(HANDLE thread, const std::shared_ptr<CSendControl>& control)
{
    HANDLE own = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &own, SYNCHRONIZE, FALSE, 0))
        return;
    CCriticalSectionLock hold(RegistryLock());
    ForgetEnded();
    Registry().push_back({own, control});
}

bool RecordUnlessCutOff(const CSendControl& control, const std::function<void()>& record)
{
    CCriticalSectionLock hold(RecordsGate());
    if (control.m_cutOff)
        return false;
    record();
    return true;
}

bool EndSendThreads(DWORD timeoutMs)
{
    std::vector<RegisteredThread> threads;
    {
        CCriticalSectionLock hold(RegistryLock());
        threads.swap(Registry());
    }
    for (const RegisteredThread& each : threads)
        if (!each.control->finishBeforeClose)
            Stop(*each.control);
    const DWORD start = GetTickCount();
    bool allEnded = true;
    for (const RegisteredThread& each : threads) {
        const DWORD elapsed = GetTickCount() - start;
        if (!AwaitThread(each.thread, elapsed < timeoutMs ? timeoutMs - elapsed : 0)) {
            Stop(*each.control);
            CCriticalSectionLock hold(RecordsGate());
            each.control->m_cutOff = true;
            allEnded = false;
        }
        CloseHandle(each.thread);
    }
    return allEnded;
}

bool AwaitThread(HANDLE thread, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return HasEnded(thread);
        DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, timeoutMs - elapsed, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + 1)
            return HasEnded(thread);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
