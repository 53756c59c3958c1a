// Entry point of every Windows test program.
// - A box that no test expected (none recorded it) is answered as Enter would
//   answer it, so no test ever waits on a modal window, and fails the test that
//   showed it, whatever thread showed it.
// - Each program works in a fresh folder of its own, made current and the data
//   folder, because the program writes its reports ("error.txt", ...) there.
// - What a test changes in the process is put back after it, and what a
//   failing test saw is kept in "failures" beside the program.
// - Before any test, a window it makes must show on its screen: a program
//   without a working desktop runs no test and says so in one line.
// - A test still running after six minutes (the longest take about one) is
//   reported with where it waits, and the program ends there; so is a program
//   that has not ended 45 seconds after its last test.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "shell/ProgramParts.h"
#include "support/DesktopCheck.h"
#include "support/FailureRecords.h"
#include "support/HungTestWatch.h"
#include "support/ProcessStateKeeper.h"
#include "support/TempFolder.h"

namespace {
const unsigned long kHungTestMs = 6 * 60 * 1000;
// The test script ends a program a minute after its last test; the report of
// the program's own threads comes first.
const unsigned long kHungEndMs = 45 * 1000;

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

// The test script follows the program's start and end from outside too, by
// marks this program leaves: Wine can hold a program before its main while
// the desktop's process does not answer, and the system's own part of a
// process's exit stops every thread of it, the end watch's among them. The
// place of the marks is taken out of the environment at once, so that no
// copy of this program that a test starts leaves them.
std::string TakeMarksPlace()
{
    char marks[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA("QN_TEST_MARKS", marks, sizeof marks);
    SetEnvironmentVariableA("QN_TEST_MARKS", nullptr);
    return length > 0 && length < sizeof marks ? marks : "";
}

void LeaveMark(const std::string& marks, const char* what)
{
    if (marks.empty())
        return;
    const std::string mark = marks + "." + what;
    HANDLE file = CreateFileA(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

// A window made here must reach the screen before any test runs: a test
// program whose desktop could not be made would fail every test that shows a
// window, each for a reason that is not its own.
bool DesktopWorks()
{
    if (testing::GTEST_FLAG(list_tests))
        return true;
    const std::string cause = WindowsShowOnScreen(kDesktopWaitMs);
    if (cause.empty())
        return true;
    char display[64] = "";
    GetEnvironmentVariableA("DISPLAY", display, sizeof display);
    std::printf("[ NO DESKTOP ] no test ran: %s (screen DISPLAY=%s)\n", cause.c_str(), display);
    std::fflush(stdout);
    return false;
}
}

int main(int argc, char** argv)
{
    const std::string marks = TakeMarksPlace();
    testing::InitGoogleTest(&argc, argv);
    if (!DesktopWorks())
        return kNoDesktopExitCode;
    LeaveMark(marks, "desktop");
    // Listeners hear a test's end in the reverse order: the state is put back
    // first, and the records are kept once every failure is known.
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    listeners.Append(new FailureRecords);
    listeners.Append(new UnexpectedBoxes);
    listeners.Append(new HungTestWatch(kHungTestMs, kHungEndMs));
    listeners.Append(new ProcessStateKeeper(&UnexpectedBox));
    SetMessageBoxHandler(&UnexpectedBox);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ConnectProgramParts();

    TempFolder workFolder("run");
    SetCurrentDirectoryA(workFolder.Path().c_str());
    SetDataFolder(workFolder.Path().c_str());
    int result = RUN_ALL_TESTS();
    LeaveMark(marks, "ended");
    char root[MAX_PATH];
    GetTempPathA(sizeof root, root);
    SetCurrentDirectoryA(root);
    return result;
}
