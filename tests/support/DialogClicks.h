#pragma once

#include <windows.h>

// The controls of the program's dialogs clicked once, as the user clicks them.

// A radio button of a shown dialog clicked; the test fails when it is not
// chosen then.
void ClickDialogControl(HWND dialog, int id);
// A button of a shown dialog clicked; true once the dialog has gone.
bool ClickDialogButton(HWND dialog, int buttonId);
