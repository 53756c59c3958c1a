#include "globals/MainWindowMessages.h"

namespace {
HWND g_mainWindow = nullptr;
}

HWND GetMainWindow()
{
    return g_mainWindow;
}

void SetMainWindow(HWND window)
{
    g_mainWindow = window;
}
