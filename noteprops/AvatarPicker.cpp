#include "noteprops/AvatarPicker.h"

bool RunAvatarPicker(HWND, const char*, char* chosen, int chosenSize)
{
    if (chosen && chosenSize > 0)
        chosen[0] = '\0';
    return false;
}
