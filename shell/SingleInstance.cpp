#include "shell/SingleInstance.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/ShellPaths.h"
#include "globals/ProgramGlobals.h"
#include "shell/bytes/ForwardedRequest.h"

const char kInstanceMutexName[] = "Quillnet_6_KELMLtd";

namespace {
const char kMarkerPrefix[] = "QLFastUserSwitching_";
char g_markerName[MAX_PATH] = "";
char g_markerPath[MAX_PATH] = "";

std::vector<std::string> ProgramArguments()
{
    std::vector<std::string> arguments;
    for (int i = 0; i < __argc && __argv; ++i)
        arguments.push_back(__argv[i] ? __argv[i] : "");
    return arguments;
}

std::string LongForm(const std::string& path)
{
    char longPath[MAX_PATH];
    if (GetLongDisplayPath(longPath, sizeof longPath, path.c_str()))
        return longPath;
    return path;
}
}

void CheckSingleInstance(const char* mainClassName, HWND* runningWindow, bool* running)
{
    *runningWindow = FindWindowA(mainClassName, nullptr);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    *running = !mutex || GetLastError() == ERROR_ALREADY_EXISTS;
    SetInstanceMutex(mutex);
}

void ForwardCommandLineToRunningInstance(HWND runningWindow)
{
    ForwardPlan plan = PlanForwarding(ProgramArguments(), &LongForm);
    if (!plan.refusal.empty()) {
        ShowErrorMessage(plan.refusalOwnedByRunningWindow ? runningWindow : nullptr, plan.refusal.c_str(),
                         ProgramTitle);
        return;
    }
    for (const ForwardedRequest& request : plan.requests) {
        if (request.delayBeforeMs)
            Sleep(request.delayBeforeMs);
        if (request.bringForward)
            SetForegroundWindow(runningWindow);
        COPYDATASTRUCT data{};
        data.dwData = request.code;
        data.cbData = static_cast<DWORD>(request.payload.size());
        data.lpData = data.cbData ? const_cast<unsigned char*>(request.payload.data()) : nullptr;
        SendMessageA(runningWindow, WM_COPYDATA, request.flag, reinterpret_cast<LPARAM>(&data));
    }
}

bool BuildFastUserSwitchingFileName()
{
    const StartupValues& values = GetStartupValues();
    int length = std::snprintf(g_markerName, sizeof g_markerName, "%s%s_%s.txt", kMarkerPrefix, values.computerName,
                               values.userName);
    if (length < 0 || length >= static_cast<int>(sizeof g_markerName)) {
        g_markerName[0] = 0;
        return false;
    }
    return true;
}

bool CheckFastUserSwitching(const char* folder)
{
    g_markerPath[0] = 0;
    if (!g_markerName[0])
        return false;
    int length = std::snprintf(g_markerPath, sizeof g_markerPath, "%s\\%s", folder, g_markerName);
    if (length < 0 || length >= static_cast<int>(sizeof g_markerPath)) {
        g_markerPath[0] = 0;
        return false;
    }
    DeleteFileA(g_markerPath);

    char pattern[MAX_PATH];
    length = std::snprintf(pattern, sizeof pattern, "%s\\%s%s_*.*", folder, kMarkerPrefix,
                           GetStartupValues().computerName);
    if (length < 0 || length >= static_cast<int>(sizeof pattern))
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    std::string otherUser;
    do {
        std::string name = found.cFileName;
        size_t firstBlank = name.find('_');
        size_t lastBlank = name.rfind('_');
        size_t extension = name.rfind(".txt");
        if (firstBlank != std::string::npos && lastBlank > firstBlank && extension != std::string::npos &&
            extension > lastBlank) {
            otherUser = name.substr(lastBlank + 1, extension - lastBlank - 1);
            break;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    if (otherUser.empty())
        return false;
    std::string text = "Quillnet+ is already running in another active user session named '" + otherUser +
                       "'.\r\n\r\nFor this reason, Quillnet+ cannot be used by your current '" +
                       GetStartupValues().userName + "' user account.\r\n";
    ShowWarningMessage(nullptr, text.c_str(), ProgramTitle);
    return true;
}

const char* GetFastUserSwitchingMarkerPath()
{
    return g_markerPath;
}
