#include "support/ThreadStacks.h"

#include <dbghelp.h>
#include <tlhelp32.h>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace {
const int kMostFramesShown = 40;
// A thread's stack is read up to this much from its top.
const size_t kMostStackWords = 256 * 1024;

// The function of the test program that holds the offset, from the symbol
// table the linker leaves in the file; empty when there is none.
std::string TestProgramFunctionAt(DWORD offset)
{
    // Read once for the whole report, which names many addresses, and never
    // freed: a report made while the program ends runs among its exit
    // handlers, where a static with a destructor could not be registered.
    static const std::string& bytes = *[] {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, sizeof path);
        return new std::string(ReadWholeFile(path));
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

// A thread's stack pointer and the address it runs at, from its context.
#ifdef _WIN64
DWORD_PTR StackPointer(const CONTEXT& context) { return context.Rsp; }
DWORD_PTR CodePointer(const CONTEXT& context) { return context.Rip; }
#else
DWORD_PTR StackPointer(const CONTEXT& context) { return context.Esp; }
DWORD_PTR CodePointer(const CONTEXT& context) { return context.Eip; }
#endif

// The module of the process that holds the address, and where it starts.
bool ModuleHolding(DWORD processId, DWORD_PTR address, std::string& name, DWORD_PTR& base)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    bool found = false;
    for (BOOL more = Module32First(snapshot, &module); more && !found; more = Module32Next(snapshot, &module)) {
        const DWORD_PTR start = reinterpret_cast<DWORD_PTR>(module.modBaseAddr);
        if (address >= start && address - start < module.modBaseSize) {
            name = module.szModule;
            base = start;
            found = true;
        }
    }
    CloseHandle(snapshot);
    return found;
}

// The name of the code at the address: its function when the symbols tell
// it, else its module and offset.
std::string DescribeCode(HANDLE process, DWORD processId, DWORD_PTR address)
{
    char text[512];
    std::string module = "?";
    DWORD_PTR base = 0;
    // A module's code lies within its first 4 GB, so an offset fits 32 bits.
    const bool inModule = ModuleHolding(processId, address, module, base);
    const unsigned long offset = static_cast<unsigned long>(address - base);
    if (!inModule) {
        std::snprintf(text, sizeof text, "?+0x%llx", static_cast<unsigned long long>(address));
        return text;
    }
    if (processId != GetCurrentProcessId()) {
        std::snprintf(text, sizeof text, "%s+0x%lx", module.c_str(), offset);
        return text;
    }
    alignas(SYMBOL_INFO) char storage[sizeof(SYMBOL_INFO) + 256] = {};
    auto* symbol = reinterpret_cast<SYMBOL_INFO*>(storage);
    symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
    symbol->MaxNameLen = 255;
    DWORD64 displacement = 0;
    const bool inTestProgram = base == reinterpret_cast<DWORD_PTR>(GetModuleHandleA(nullptr));
    const std::string function = inTestProgram ? TestProgramFunctionAt(offset) : std::string();
    if (!function.empty())
        std::snprintf(text, sizeof text, "%s (0x%lx)", function.c_str(), offset);
    else if (SymFromAddr(process, address, &displacement, symbol))
        std::snprintf(text, sizeof text, "%s!%s+0x%lx (0x%lx)", module.c_str(), symbol->Name,
                      static_cast<unsigned long>(displacement), offset);
    else
        std::snprintf(text, sizeof text, "%s+0x%lx", module.c_str(), offset);
    return text;
}

// Whether the bytes before the address end in a call, as those before a
// return address do (a near call, or an indirect call by register or memory).
bool FollowsCall(HANDLE process, DWORD_PTR address)
{
    MEMORY_BASIC_INFORMATION region;
    unsigned char before[7];
    SIZE_T read = 0;
    if (address < sizeof before ||
        !VirtualQueryEx(process, reinterpret_cast<void*>(address - sizeof before), &region, sizeof region) ||
        !(region.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) ||
        region.Type != MEM_IMAGE ||
        !ReadProcessMemory(process, reinterpret_cast<void*>(address - sizeof before), before, sizeof before, &read) ||
        read != sizeof before)
        return false;
    const unsigned char* code = before + sizeof before;
    if (code[-5] == 0xE8)
        return true;
    for (int length : {2, 3, 6, 7})
        if (code[-length] == 0xFF && ((code[-length + 1] >> 3) & 7) == 2)
            return true;
    return false;
}

// The thread's stack is copied while the thread is stopped, with nothing
// allocated or printed, so that no lock the thread holds can stop this one;
// the thread goes on after, and the copy is read then.
int ReturnAddresses(HANDLE process, HANDLE thread, DWORD_PTR (&addresses)[kMostFramesShown + 1])
{
    std::vector<DWORD_PTR> words(kMostStackWords);
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL;
    if (SuspendThread(thread) == static_cast<DWORD>(-1))
        return 0;
    SIZE_T copied = 0;
    MEMORY_BASIC_INFORMATION stack;
    const bool read = GetThreadContext(thread, &context) &&
                      VirtualQueryEx(process, reinterpret_cast<void*>(StackPointer(context)), &stack, sizeof stack);
    if (read) {
        const SIZE_T left = static_cast<const char*>(stack.BaseAddress) + stack.RegionSize -
                            reinterpret_cast<const char*>(StackPointer(context));
        const SIZE_T most = words.size() * sizeof(DWORD_PTR);
        ReadProcessMemory(process, reinterpret_cast<void*>(StackPointer(context)), words.data(),
                          left < most ? left : most, &copied);
    }
    ResumeThread(thread);
    if (!read)
        return 0;
    int count = 0;
    addresses[count++] = CodePointer(context);
    for (size_t i = 0; i < copied / sizeof(DWORD_PTR) && count <= kMostFramesShown; ++i)
        if (words[i] > 0x10000 && FollowsCall(process, words[i]))
            addresses[count++] = words[i];
    return count;
}
}

void PrintWhereThreadWaits(HANDLE process, DWORD processId, HANDLE thread, const char* indent)
{
    DWORD_PTR addresses[kMostFramesShown + 1];
    const int count = ReturnAddresses(process, thread, addresses);
    if (count == 0) {
        std::printf("%s(the thread cannot be read)\n", indent);
        return;
    }
    if (processId == GetCurrentProcessId()) {
        SymSetOptions(SYMOPT_UNDNAME | SYMOPT_DEFERRED_LOADS);
        SymInitialize(process, nullptr, TRUE);
    }
    for (int i = 0; i < count; ++i)
        std::printf("%s%s %s\n", indent, i == 0 ? "at" : "from", DescribeCode(process, processId, addresses[i]).c_str());
}

void PrintWhereThreadsWait(HANDLE process, DWORD processId, const char* indent)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    std::vector<DWORD> threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId && entry.th32ThreadID != GetCurrentThreadId())
            threads.push_back(entry.th32ThreadID);
    CloseHandle(snapshot);
    const std::string deeper = std::string(indent) + "  ";
    for (DWORD id : threads) {
        std::printf("%sthread %lu:\n", indent, static_cast<unsigned long>(id));
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_QUERY_INFORMATION, FALSE, id);
        if (!thread) {
            std::printf("%s(the thread cannot be opened)\n", deeper.c_str());
            continue;
        }
        PrintWhereThreadWaits(process, processId, thread, deeper.c_str());
        CloseHandle(thread);
    }
}
