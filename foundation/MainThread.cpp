#include "foundation/MainThread.h"

#include <windows.h>

#include <string>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"

namespace {
DWORD g_mainThread = 0;

// Static construction runs on the main thread alone, so the first caller, at
// the latest the object below, is the main thread.
DWORD MainThreadId()
{
    if (g_mainThread == 0)
        g_mainThread = GetCurrentThreadId();
    return g_mainThread;
}

struct RecordAtStart {
    RecordAtStart() { MainThreadId(); }
} g_recordAtStart;
}

bool OnMainThread()
{
    return GetCurrentThreadId() == MainThreadId();
}

void RequireMainThread(const char* what)
{
    if (OnMainThread())
        return;
    std::string text = std::string(what ? what : "") + " called from a thread other than the main thread";
    WriteErrorLog(text.c_str(), nullptr);
    throw CGenericException(text.c_str());
}
