#include "support/HungTestWatch.h"

#include <windows.h>
#include <dbghelp.h>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/CriticalSectionLock.h"
#include "support/TempFolder.h"

namespace {
const DWORD kCheckEveryMs = 1000;
const int kMostFramesShown = 40;

struct WatchState {
    CCriticalSection lock;
    std::string test;        // the running test, empty between tests
    DWORD startedAt = 0;
    DWORD limitMs = 0;
    HANDLE testThread = nullptr;
    HANDLE stop = nullptr;
    HANDLE watcher = nullptr;
};
WatchState g_watch;

// The function of the test program that holds the offset, from the symbol
// table the linker leaves in the file; empty when there is none.
std::string TestProgramFunctionAt(DWORD offset)
{
    // Read once for the whole report, which names up to forty addresses.
    static const std::string bytes = [] {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        return ReadWholeFile(path);
    }();
    const size_t read = bytes.size();
    const auto* base = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    const DWORD table = nt->FileHeader.PointerToSymbolTable;
    const DWORD count = nt->FileHeader.NumberOfSymbols;
    if (table == 0 || table + count * static_cast<size_t>(IMAGE_SIZEOF_SYMBOL) > read)
        return std::string();
    const char* strings = bytes.data() + table + count * IMAGE_SIZEOF_SYMBOL;
    const size_t stringsSize = read - (table + count * IMAGE_SIZEOF_SYMBOL);
    std::string best;
    DWORD bestStart = 0;
    for (DWORD i = 0; i < count; ++i) {
        IMAGE_SYMBOL symbol;
        std::memcpy(&symbol, bytes.data() + table + i * IMAGE_SIZEOF_SYMBOL, sizeof symbol);
        const int section = symbol.SectionNumber;
        if (section > 0 && section <= nt->FileHeader.NumberOfSections && ISFCN(symbol.Type)) {
            const DWORD start = sections[section - 1].VirtualAddress + symbol.Value;
            if (start <= offset && start >= bestStart) {
                bestStart = start;
                best = symbol.N.Name.Short ? std::string(reinterpret_cast<const char*>(symbol.N.ShortName),
                                                         strnlen(reinterpret_cast<const char*>(symbol.N.ShortName), 8))
                       : symbol.N.Name.Long < stringsSize ? std::string(strings + symbol.N.Name.Long)
                                                          : std::string();
            }
        }
        i += symbol.NumberOfAuxSymbols;
    }
    int status = 0;
    char* readable = abi::__cxa_demangle(best.c_str() + (best.compare(0, 2, "__") == 0 ? 1 : 0), nullptr, nullptr,
                                         &status);
    if (readable) {
        best = readable;
        std::free(readable);
    }
    return best;
}

// The name of the code at the address: its function when the symbols tell
// it, else its module and offset.
std::string DescribeCode(DWORD64 address)
{
    char text[512];
    alignas(SYMBOL_INFO) char storage[sizeof(SYMBOL_INFO) + 256] = {};
    auto* symbol = reinterpret_cast<SYMBOL_INFO*>(storage);
    symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
    symbol->MaxNameLen = 255;
    DWORD64 displacement = 0;
    HMODULE module = nullptr;
    char moduleName[MAX_PATH] = "?";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(static_cast<DWORD_PTR>(address)), &module)) {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(module, path, sizeof path);
        const char* slash = std::strrchr(path, '\\');
        lstrcpynA(moduleName, slash ? slash + 1 : path, sizeof moduleName);
    }
    const unsigned long offset =
        static_cast<unsigned long>(address - reinterpret_cast<DWORD_PTR>(module));
    const std::string function = module == GetModuleHandleA(nullptr) ? TestProgramFunctionAt(offset) : std::string();
    if (!function.empty())
        std::snprintf(text, sizeof text, "%s (0x%lx)", function.c_str(), offset);
    else if (SymFromAddr(GetCurrentProcess(), address, &displacement, symbol))
        std::snprintf(text, sizeof text, "%s!%s+0x%lx (0x%lx)", moduleName, symbol->Name,
                      static_cast<unsigned long>(displacement), offset);
    else
        std::snprintf(text, sizeof text, "%s+0x%lx", moduleName, offset);
    return text;
}

// Whether the bytes before the address end in a call, as those before a
// return address do (a near call, or an indirect call by register or memory).
bool FollowsCall(DWORD address)
{
    MEMORY_BASIC_INFORMATION region;
    if (!VirtualQuery(reinterpret_cast<void*>(address - 7), &region, sizeof region) ||
        !(region.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) ||
        region.Type != MEM_IMAGE)
        return false;
    const auto* code = reinterpret_cast<const unsigned char*>(address);
    if (code[-5] == 0xE8)
        return true;
    for (int length : {2, 3, 6, 7})
        if (code[-length] == 0xFF && ((code[-length + 1] >> 3) & 7) == 2)
            return true;
    return false;
}

// The thread's stack read from its top: the words that look like return
// addresses, which is what a release build without frame pointers allows. They
// are taken while the thread is stopped, with nothing allocated or printed, so
// that no lock the thread holds can stop this one; the thread goes on after.
int ReturnAddresses(HANDLE thread, DWORD (&addresses)[kMostFramesShown + 1])
{
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL;
    if (SuspendThread(thread) == static_cast<DWORD>(-1))
        return 0;
    int count = 0;
    MEMORY_BASIC_INFORMATION stack;
    if (GetThreadContext(thread, &context) &&
        VirtualQuery(reinterpret_cast<void*>(context.Esp), &stack, sizeof stack)) {
        addresses[count++] = context.Eip;
        const auto* word = reinterpret_cast<const DWORD*>(context.Esp);
        const auto* end =
            reinterpret_cast<const DWORD*>(static_cast<const char*>(stack.BaseAddress) + stack.RegionSize);
        for (; word < end && count <= kMostFramesShown; ++word)
            if (*word > 0x10000 && FollowsCall(*word))
                addresses[count++] = *word;
    }
    ResumeThread(thread);
    return count;
}

void PrintStack(HANDLE thread)
{
    DWORD addresses[kMostFramesShown + 1];
    const int count = ReturnAddresses(thread, addresses);
    if (count == 0) {
        std::printf("  (its thread cannot be read)\n");
        return;
    }
    SymSetOptions(SYMOPT_UNDNAME | SYMOPT_DEFERRED_LOADS);
    SymInitialize(GetCurrentProcess(), nullptr, TRUE);
    for (int i = 0; i < count; ++i)
        std::printf("  %s %s\n", i == 0 ? "at" : "from", DescribeCode(addresses[i]).c_str());
}

void ReportAndEnd(const std::string& test, DWORD ranMs)
{
    std::printf("[  HUNG    ] %s has run for %lu s; where it waits, newest call first:\n", test.c_str(),
                static_cast<unsigned long>(ranMs / 1000));
    PrintStack(g_watch.testThread);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
}

DWORD WINAPI Watch(void*)
{
    while (WaitForSingleObject(g_watch.stop, kCheckEveryMs) == WAIT_TIMEOUT) {
        std::string test;
        DWORD ranMs = 0;
        {
            CCriticalSectionLock hold(g_watch.lock);
            test = g_watch.test;
            ranMs = GetTickCount() - g_watch.startedAt;
        }
        if (!test.empty() && ranMs > g_watch.limitMs)
            ReportAndEnd(test, ranMs);
    }
    return 0;
}
}

HungTestWatch::HungTestWatch(unsigned long limitMs)
{
    g_watch.limitMs = limitMs;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_watch.testThread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    g_watch.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_watch.watcher = CreateThread(nullptr, 0, &Watch, nullptr, 0, nullptr);
}

HungTestWatch::~HungTestWatch()
{
    SetEvent(g_watch.stop);
    WaitForSingleObject(g_watch.watcher, kCheckEveryMs * 5);
    CloseHandle(g_watch.watcher);
    CloseHandle(g_watch.stop);
    CloseHandle(g_watch.testThread);
}

void HungTestWatch::OnTestStart(const testing::TestInfo& test)
{
    CCriticalSectionLock hold(g_watch.lock);
    g_watch.test = std::string(test.test_suite_name()) + "." + test.name();
    g_watch.startedAt = GetTickCount();
}

void HungTestWatch::OnTestEnd(const testing::TestInfo&)
{
    CCriticalSectionLock hold(g_watch.lock);
    g_watch.test.clear();
}
