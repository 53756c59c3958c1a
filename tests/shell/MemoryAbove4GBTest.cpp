// The program's memory where 64-bit Windows usually puts it, above 4 GB: the
// objects its windows keep, read from outside as the system hands them back,
// and the memory of a test program, started by the scripts and by the tests.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/UnstoredEditDriving.h"
#include "support/ChildTest.h"
#include "support/LowSpaceTaken.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"

namespace {
#define SKIP_UNLESS_64_BIT()                                                                  \
    do {                                                                                      \
        if (sizeof(void*) < sizeof(unsigned long long))                                      \
            GTEST_SKIP() << "a 32-bit program has no memory above 4 GB";                      \
    } while (0)

bool LiesAbove4GB(const void* address)
{
    return reinterpret_cast<ULONG_PTR>(address) >= kLowSpaceEnd;
}

std::string AddressText(const void* address)
{
    char text[2 * sizeof address + 3];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(address)));
    return text;
}

DWORD WINAPI RecordThreadStackAddress(void* context)
{
    int onStack = 0;
    // Only the address is kept, as a number: the stack goes with the thread.
    *static_cast<ULONG_PTR*>(context) = reinterpret_cast<ULONG_PTR>(&onStack);
    return 0;
}

// Where this process's memory lies: each kind that 64-bit Windows puts above
// 4 GB, by name.
std::vector<std::pair<std::string, const void*>> OwnMemoryPlaces()
{
    std::vector<std::pair<std::string, const void*>> places;
    auto object = std::make_unique<int>(1);
    places.emplace_back("new", object.get());
    void* block = std::malloc(64);
    places.emplace_back("malloc", block);
    std::free(block);
    HANDLE processHeap = GetProcessHeap();
    void* fromHeap = HeapAlloc(processHeap, 0, 64);
    places.emplace_back("HeapAlloc", fromHeap);
    HeapFree(processHeap, 0, fromHeap);
    HANDLE ownHeap = HeapCreate(0, 0, 0);
    places.emplace_back("HeapCreate", ownHeap);
    HeapDestroy(ownHeap);
    void* pages = VirtualAlloc(nullptr, 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    places.emplace_back("VirtualAlloc", pages);
    VirtualFree(pages, 0, MEM_RELEASE);
    ULONG_PTR stack = 0;
    HANDLE thread = CreateThread(nullptr, 0, RecordThreadStackAddress, &stack, 0, nullptr);
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    places.emplace_back("a new thread's stack", reinterpret_cast<const void*>(stack));
    return places;
}

void ExpectOwnMemoryAbove4GB(const char* started)
{
    std::string seen;
    for (const auto& place : OwnMemoryPlaces()) {
        EXPECT_TRUE(LiesAbove4GB(place.second))
            << started << ": " << place.first << " at " << AddressText(place.second);
        seen += (seen.empty() ? "" : ", ") + place.first + " " + AddressText(place.second);
    }
    std::printf("[  MEMORY  ] %s: %s\n", started, seen.c_str());
}
}

TEST(MemoryAbove4GB, TheProgramsWindowsKeepTheirObjectsThere)
{
    SKIP_UNLESS_64_BIT();
    ProgramInstall install("above4gb");
    InstallWithOneNote(install);
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    HWND note = WaitForNoteWithText(program.ProcessId(), kStoredText);
    ASSERT_NE(note, nullptr);

    // What each window keeps is the object that runs it, on the program's heap.
    const auto* controller = reinterpret_cast<const void*>(GetWindowLongPtrA(main, GWLP_USERDATA));
    const auto* noteObject = reinterpret_cast<const void*>(GetWindowLongPtrA(note, GWLP_USERDATA));
    ASSERT_NE(controller, nullptr);
    ASSERT_NE(noteObject, nullptr);
    EXPECT_TRUE(LiesAbove4GB(controller)) << "the main window's object at " << AddressText(controller);
    EXPECT_TRUE(LiesAbove4GB(noteObject)) << "a note's object at " << AddressText(noteObject);
    std::printf("[  MEMORY  ] qnpost.exe: the main window's object %s, a note's %s\n", AddressText(controller).c_str(),
                AddressText(noteObject).c_str());
    CloseProgram(install, program);
}

TEST(MemoryAbove4GB, ATestProgramsOwnMemoryLiesThere)
{
    SKIP_UNLESS_64_BIT();
    ExpectOwnMemoryAbove4GB("this test program");
    // Started again by the tests, as they start the program.
    ChildTest child("MemoryAbove4GB.DISABLED_ChildsOwnMemoryLiesThere");
    ASSERT_TRUE(child.Started());
    EXPECT_TRUE(child.Passed());
}

TEST(MemoryAbove4GB, DISABLED_ChildsOwnMemoryLiesThere)
{
    ExpectOwnMemoryAbove4GB("a test program started by a test");
}
