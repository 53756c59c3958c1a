// The program-wide objects over a whole process lifetime: a child run of this
// test program uses them, ends, and a witness made before any of them and
// released after all of them writes down what happened to them.
#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/FormatSettings.h"
#include "foundation/bytes/GenericException.h"
#include "globals/CalendarStyle.h"
#include "globals/ProgramGlobals.h"
#include "support/LowSpaceTaken.h"
#include "support/TempFolder.h"

namespace {
const char kLedgerFileVariable[] = "QN_TEST_GLOBALS_LEDGER";

std::string LedgerFileName()
{
    char name[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA(kLedgerFileVariable, name, sizeof name);
    return length > 0 && length < sizeof name ? name : "";
}

// Built before every program-wide object and released after all of them: it
// writes the ledger, and whether a released object is refused, to the file the
// parent named.
struct LifetimeWitness {
    ~LifetimeWitness()
    {
        std::string name = LedgerFileName();
        if (name.empty())
            return;
        const ProgramGlobalsLedger& ledger = GetProgramGlobalsLedger();
        std::string text;
        for (int i = 0; i < ledger.count; ++i)
            text += std::to_string(ledger.events[i]) + " ";
        bool refused = false;
        try {
            ConfigSettings();
        } catch (const CGenericException&) {
            refused = true;
        }
        text += refused ? "\nrefused\n" : "\nserved\n";
        if (FILE* file = std::fopen(name.c_str(), "wb")) {
            std::fwrite(text.data(), 1, text.size(), file);
            std::fclose(file);
        }
    }
};
__attribute__((init_priority(101))) LifetimeWitness g_witness;

std::vector<int> Numbers(const std::string& line)
{
    std::vector<int> numbers;
    std::istringstream in(line);
    int number;
    while (in >> number)
        numbers.push_back(number);
    return numbers;
}

std::string ThisProgram()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}
}

// Run only as the child of the test below.
TEST(ProgramGlobalsChild, UsesTheObjects)
{
    if (LedgerFileName().empty())
        GTEST_SKIP() << "runs as the child of ProgramGlobals.AreReleasedInTheReverseOrderOfTheirBuilding";
    ConfigSettings().smtpPort = 587;
    HashesList().AddToTail(CHashRecord{"code", GetNextHashId()});
    DeletedNotesList().AddHead(&UserSettings());
    StandardCalendarOptions().SetFilterText("in use");
    ScratchBytes().Alloc(16);
    EXPECT_EQ(GetNextHashId(), 1);
}

TEST(ProgramGlobals, AreBuiltBeforeTheTestsInTheirOrder)
{
    const ProgramGlobalsLedger& ledger = GetProgramGlobalsLedger();
    ASSERT_GT(ledger.count, 0);
    for (int i = 0; i < ledger.count; ++i) {
        EXPECT_GT(ledger.events[i], 0) << "nothing is released while the program runs";
        if (i > 0) {
            EXPECT_GT(ledger.events[i], ledger.events[i - 1]);
        }
    }
    EXPECT_EQ(ledger.events[0], kRowTrayDragTracker);
    EXPECT_EQ(ledger.events[ledger.count - 1], kRowWorkHeapBlock);
    // What start-up finds in place.
    EXPECT_NE(TaskbarCreatedMessage(), 0u);
    EXPECT_EQ(ScreenWidth(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(CurrencyTable()[199].id, -1);
    EXPECT_EQ(LanguagePairTable()[0].id, -1);
    EXPECT_EQ(WorkHeapBlock().GetSize(), 51200u);
    EXPECT_EQ(std::string(NoteManagerOptions().columns[7].title), "Size");
    EXPECT_NE(CryptProvider().GetHandle(), 0u);
    EXPECT_EQ(&OnDiskBitmapByCode("I1"), &OnDiskBitmapByCode("unknown"));
    EXPECT_NE(&OnDiskBitmapByCode("LG"), &OnDiskBitmapByCode("NG"));
    EXPECT_THROW(ImageList(4), CGenericException);
}

TEST(ProgramGlobals, HotkeyRowsAreFoundAmongThoseInUse)
{
    const int previousCount = HotkeyKeyTableCount;
    const CHotkeyKeyName previous[3] = {HotkeyKeyTable[0], HotkeyKeyTable[1], HotkeyKeyTable[2]};
    HotkeyKeyTable[0] = {8, "Backspace"};
    HotkeyKeyTable[1] = {9, "Tab"};
    HotkeyKeyTable[2] = {13, "Enter"};
    HotkeyKeyTableCount = 2;
    EXPECT_EQ(FindHotkeyIndex(9), 1);
    EXPECT_EQ(FindHotkeyIndex(8), 0);
    EXPECT_EQ(FindHotkeyIndex(13), 0);  // beyond the rows in use
    HotkeyKeyTableCount = 0;
    EXPECT_EQ(FindHotkeyIndex(9), 0);
    HotkeyKeyTableCount = previousCount;
    for (int i = 0; i < 3; ++i)
        HotkeyKeyTable[i] = previous[i];
}

TEST(ProgramGlobals, AreReleasedInTheReverseOrderOfTheirBuilding)
{
    TempFolder folder("glob");
    const std::string ledgerFile = folder.File("ledger.txt");
    SetEnvironmentVariableA(kLedgerFileVariable, ledgerFile.c_str());
    std::string command = "\"" + ThisProgram() + "\" --gtest_filter=ProgramGlobalsChild.UsesTheObjects";
    PROCESS_INFORMATION process = {};
    const bool started = StartWithLowSpaceTaken(nullptr, &command[0], folder.Path().c_str(), process);
    SetEnvironmentVariableA(kLedgerFileVariable, nullptr);
    ASSERT_TRUE(started) << GetLastError();
    DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(exitCode, 0u);

    std::string text = ReadWholeFile(ledgerFile);
    std::istringstream lines(text);
    std::string events;
    std::string verdict;
    std::getline(lines, events);
    std::getline(lines, verdict);
    std::vector<int> numbers = Numbers(events);
    ASSERT_FALSE(numbers.empty()) << text;
    ASSERT_EQ(numbers.size() % 2, 0u) << events;
    const size_t built = numbers.size() / 2;
    for (size_t i = 0; i < built; ++i) {
        EXPECT_GT(numbers[i], 0) << events;
        if (i > 0) {
            EXPECT_GT(numbers[i], numbers[i - 1]) << events;
        }
        // Released in the reverse order, each once.
        EXPECT_EQ(numbers[numbers.size() - 1 - i], -numbers[i]) << events;
    }
    EXPECT_EQ(verdict, "refused");
}
