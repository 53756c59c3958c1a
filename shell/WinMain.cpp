#include <windows.h>

#include "shell/StartupSequence.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunProgram(instance);
}
