#include "foundation/bytes/MessageBoxes.h"

#include <atomic>
#include <cstdio>

#include "foundation/bytes/ModalLoops.h"

#ifdef _WIN32
// The only place that calls the system's box; declared here so that this file
// stays free of windows.h.
extern "C" __declspec(dllimport) int __stdcall MessageBoxA(void*, const char*, const char*, unsigned);
extern "C" __declspec(dllimport) void* __stdcall GetForegroundWindow(void);
extern "C" __declspec(dllimport) unsigned long __stdcall GetWindowThreadProcessId(void*, unsigned long*);
extern "C" __declspec(dllimport) unsigned long __stdcall GetCurrentProcessId(void);
static int SystemMessageBox(void* owner, const char* text, const char* caption, unsigned flags)
{
    return MessageBoxA(owner, text, caption, flags);
}

void* ForegroundOwner()
{
    void* foreground = GetForegroundWindow();
    unsigned long process = 0;
    if (foreground)
        GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId() ? foreground : nullptr;
}
#else
void* ForegroundOwner()
{
    return nullptr;
}

// A native build has no boxes: say it on the error stream and answer as Enter would.
static int SystemMessageBox(void*, const char* text, const char* caption, unsigned flags)
{
    std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
    return DefaultButtonAnswer(flags);
}
#endif

char ProgramTitle[32] = "Quillnet+";

namespace {
std::atomic<MessageBoxHandler> g_handler{nullptr};
thread_local MessageBoxSink t_sink = nullptr;
}

MessageBoxSink SetThreadMessageBoxSink(MessageBoxSink sink)
{
    MessageBoxSink previous = t_sink;
    t_sink = sink;
    return previous;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    return g_handler.exchange(handler);
}

int ShowMessageBox(void* owner, const char* text, const char* caption, unsigned flags)
{
    if (MessageBoxSink sink = t_sink) {
        sink(text ? text : "", caption ? caption : "");
        return DefaultButtonAnswer(flags);
    }
    MessageBoxHandler handler = g_handler.load();
    // The box's loop lets in work of its own.
    CModalLoop boxLoop;
    return handler ? handler(owner, text, caption, flags) : SystemMessageBox(owner, text, caption, flags);
}

int DefaultButtonAnswer(unsigned flags)
{
    static const int kButtons[6][3] = {
        {kIdOk, kIdOk, kIdOk},
        {kIdOk, kIdCancel, kIdCancel},
        {kIdAbort, kIdRetry, kIdIgnore},
        {kIdYes, kIdNo, kIdCancel},
        {kIdYes, kIdNo, kIdNo},
        {kIdRetry, kIdCancel, kIdCancel},
    };
    unsigned group = flags & 0xF;
    unsigned defaultIndex = (flags >> 8) & 0xF;
    if (group > 5)
        group = 0;
    if (defaultIndex > 2)
        defaultIndex = 0;
    return kButtons[group][defaultIndex];
}

int ShowErrorMessage(void* owner, const char* text, const char* caption)
{
    return ShowMessageBox(owner, text, caption, kMbOk | kMbIconHand);
}

int ShowInfoMessage(void* owner, const char* text, const char* caption)
{
    return ShowMessageBox(owner, text, caption, kMbOk | kMbIconInformation);
}

int ShowWarningMessage(void* owner, const char* text, const char* caption)
{
    return ShowMessageBox(owner, text, caption, kMbOk | kMbIconExclamation);
}

int AskYesNo(void* owner, const char* text, const char* caption)
{
    return ShowMessageBox(owner, text, caption, kMbYesNo | kMbIconQuestion | kMbDefButton2);
}
