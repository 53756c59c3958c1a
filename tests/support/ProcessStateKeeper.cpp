#include "support/ProcessStateKeeper.h"

#include <windows.h>

#include <string>

#include "foundation/BackupFolder.h"
#include "foundation/CallbackGuard.h"
#include "foundation/Clock.h"
#include "foundation/CryptProvider.h"
#include "foundation/DataFolder.h"
#include "foundation/PtrList.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/NoteColors.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/CoolMenu.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/DbfFile.h"
#include "store/Destination.h"
#include "store/FreeSlotLists.h"
#include "store/SaveSteps.h"
#include "store/SentToTable.h"
#include "support/ProgramDriver.h"

namespace {
struct ProcessState {
    std::string currentFolder;
    std::string dataFolder;
    GradientFillFunction gradientFill = nullptr;
    std::uint32_t displayColours = 0;
    CryptProviderNames cryptProviders{};
    std::string backupFolder;
    CoolMenuLook menuLook;
    DWORD highestComputerId = 0;
    StartupValues startup;
    CConfigSettings config;
    CUserSettings user;
};
ProcessState g_before;

// A handle of a user object is open while the system still tells its name
// (a name longer than the buffer still shows the handle open).
bool UserObjectOpen(HANDLE object)
{
    char name[64] = "";
    DWORD needed = 0;
    return GetUserObjectInformationA(object, UOI_NAME, name, sizeof name, &needed) != FALSE ||
           GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

std::string CurrentDirectory()
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}
}

void ProcessStateKeeper::OnTestStart(const testing::TestInfo&)
{
    g_before.currentFolder = CurrentDirectory();
    g_before.dataFolder = GetDataFolder();
    g_before.gradientFill = GetGradientFillFunction();
    g_before.displayColours = GetDisplayColorCount();
    g_before.cryptProviders = GetCryptProviderNames();
    g_before.backupFolder = GetCurrentBackupFolder();
    g_before.menuLook = GetCoolMenuLook();
    g_before.highestComputerId = HighestStoredComputerId();
    g_before.startup = GetStartupValues();
    g_before.config = ConfigSettings();
    g_before.user = UserSettings();
}

void ProcessStateKeeper::OnTestEnd(const testing::TestInfo&)
{
    SetCurrentDirectoryA(g_before.currentFolder.c_str());
    SetDataFolder(g_before.dataFolder.c_str());
    SetMessageBoxHandler(m_runBoxes);
    SetGradientFillFunction(g_before.gradientFill);
    SetDisplayColorCount(g_before.displayColours);
    SetCryptProviderNames(g_before.cryptProviders);
    SetCurrentBackupFolder(g_before.backupFolder.c_str());
    GetCoolMenuLook() = g_before.menuLook;
    SetHighestStoredComputerId(g_before.highestComputerId);
    GetStartupValues() = g_before.startup;
    ConfigSettings() = g_before.config;
    UserSettings() = g_before.user;
    // No test runs with these set; a test that sets one puts it back as it ends.
    SetClockOverride(nullptr);
    SetSaveStepObserver(nullptr);
    SetQuietFailureTarget(nullptr, 0);
    SetNodePoolClosing(false);
    SetMemoFreshStart(false);
    SetDestinationDefaults(0, 0);
    // A test that ended between pressing the mouse button and letting it go
    // would leave it down for every later click.
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000)
        LetGoOfLeftButtonAside();
    // The free records of the last table a test read or wrote belong to no
    // table of the next test.
    NotesFreeSlots().Clear();
    TransactionFreeSlots().Clear();
    // A test that closes a handle it does not own can close the process's window
    // station or desktop, which cannot be put back: every later window and the
    // clipboard fail with "invalid handle", so the test that did it fails here.
    EXPECT_TRUE(UserObjectOpen(GetProcessWindowStation())) << "the test closed the process's window station";
    EXPECT_TRUE(UserObjectOpen(GetThreadDesktop(GetCurrentThreadId()))) << "the test closed the thread's desktop";
}
