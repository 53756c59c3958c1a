#pragma once

#include <windows.h>

#include "noteprops/PictureList.h"

// The dialog around a picture list: the list over the whole width, and below
// it "Select other image...", the tile and stretch choice where the dialog has
// it, OK, Cancel and Help. OK, or a double click on a
// picture, takes the selected picture; Cancel leaves the choice as it was.
// The list is filled once the dialog has first painted, so that the dialog
// shows at once, however many pictures there are.

// What sets one picker dialog apart from another.
struct CPictureDialogKind {
    const CPictureListKind& pictures;
    DWORD helpTopic;        // in the program's help file
    int tileButton = 0;     // radio buttons that choose tiled or stretched
    int stretchButton = 0;  // pictures; 0 when the dialog has none
};

// Where a picker finds the current picture and puts the chosen one.
struct CPictureChoice {
    char* fileName;         // MAX_PATH characters
    DWORD* fileDeleted;     // set when the user deleted a picture file; may be null
    BYTE* stretch = nullptr;  // 1 stretched, 0 tiled; for a dialog with the two buttons
};

// WM_INITDIALOG of a picker: makes its picture list and sizes the dialog to
// four rows of cells and the button row.
INT_PTR OpenPictureDialog(HWND dialog, const CPictureDialogKind& kind, const CPictureChoice& choice);
// Every later message of a picker's dialog procedure.
INT_PTR HandlePictureDialogMessage(HWND dialog, const CPictureDialogKind& kind, UINT message, WPARAM wParam,
                                   LPARAM lParam);
