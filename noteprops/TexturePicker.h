#pragma once

#include <windows.h>

// The "Select an image for the note background" dialog: the pictures of the
// data folder's TEXTURES folder as thumbnails, tiled or stretched as the user
// chooses; another picture file can be copied into the folder and a picture
// deleted. Notes and the calendar take their background pictures from it.

struct CTexturePickerParams {
    BYTE stretch = 0;              // in and out: 1 stretched, 0 tiled
    char fileName[MAX_PATH] = "";  // in: the current picture; out: the chosen one ("  NoImage" for none)
};

INT_PTR CALLBACK TextureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally: 1 after OK with the choice in the parameters, 0
// after Cancel, -1 when the dialog could not be shown.
INT_PTR RunTexturePicker(HWND owner, CTexturePickerParams& params);

// A background picture as its users keep it.
struct CTextureChoice {
    char fileName[MAX_PATH] = "";  // a file of TEXTURES; empty for no picture
    bool stretch = false;          // stretched over the background, else tiled
};

// Lets the user choose a background picture, starting from the current one.
// Without a TEXTURES folder the user is told how to make one. True after OK,
// with the choice; false otherwise, the choice untouched.
bool ChooseTexture(HWND owner, const CTextureChoice& current, CTextureChoice& chosen);
