#pragma once

#include <windows.h>

// The controls of the program's dialogs clicked as the user clicks them.
// A click that a loaded machine loses is made again, and told.

// A radio button of a shown dialog clicked, until it is chosen.
void ClickDialogControl(HWND dialog, int id);
// A button of a shown dialog clicked; true once the dialog has gone.
bool ClickDialogButton(HWND dialog, int buttonId);
