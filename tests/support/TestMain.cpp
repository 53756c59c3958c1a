// Entry point of every Windows test program.
// - A box that no test expected (none recorded it) is answered as Enter would
//   answer it, so no test ever waits on a modal window, and fails the test that
//   showed it, whatever thread showed it.
// - Each program works in a fresh folder of its own, made current and the data
//   folder, because the program writes its reports ("error.txt", ...) there.
// - What a test changes in the process is put back after it, and what a
//   failing test saw is kept in "failures" beside the program.
// - A test still running after six minutes (the longest take about one) is
//   reported with where it waits, and the program ends there.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "shell/ProgramParts.h"
#include "support/FailureRecords.h"
#include "support/HungTestWatch.h"
#include "support/ProcessStateKeeper.h"
#include "support/TempFolder.h"

namespace {
const unsigned long kHungTestMs = 6 * 60 * 1000;

CCriticalSection g_unexpectedLock;
std::vector<std::string> g_unexpected;

int UnexpectedBox(void*, const char* text, const char* caption, unsigned flags)
{
    std::string box = std::string("[") + (caption ? caption : "") + "] " + (text ? text : "");
    std::fprintf(stderr, "Unexpected message box %s\n", box.c_str());
    CCriticalSectionLock lock(g_unexpectedLock);
    g_unexpected.push_back(box);
    return DefaultButtonAnswer(flags);
}

// Boxes may come from worker threads, where a test cannot fail safely: they are
// collected and failed here, on the main thread, as the test ends.
class UnexpectedBoxes : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override
    {
        std::vector<std::string> boxes;
        {
            CCriticalSectionLock lock(g_unexpectedLock);
            boxes.swap(g_unexpected);
        }
        for (const std::string& box : boxes)
            ADD_FAILURE() << "Unexpected message box " << box;
    }
};
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listeners hear a test's end in the reverse order: the state is put back
    // first, and the records are kept once every failure is known.
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    listeners.Append(new FailureRecords);
    listeners.Append(new UnexpectedBoxes);
    listeners.Append(new HungTestWatch(kHungTestMs));
    listeners.Append(new ProcessStateKeeper(&UnexpectedBox));
    SetMessageBoxHandler(&UnexpectedBox);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ConnectProgramParts();

    TempFolder workFolder("run");
    SetCurrentDirectoryA(workFolder.Path().c_str());
    SetDataFolder(workFolder.Path().c_str());
    int result = RUN_ALL_TESTS();
    char root[MAX_PATH];
    GetTempPathA(sizeof root, root);
    SetCurrentDirectoryA(root);
    return result;
}
