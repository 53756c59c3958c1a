#include "noteprops/AvatarPicker.h"

// The dialog is not there yet: nothing is chosen.
INT_PTR CALLBACK AvatarDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

INT_PTR RunAvatarPicker(HWND, CAvatarPickerParams&)
{
    return -1;
}
