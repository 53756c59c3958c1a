#pragma once

#include <windows.h>

struct CAppearanceSettings;

// The parts of the Appearance page's note preview that react to clicks, in
// the preview's client coordinates.
struct PreviewRegions {
    RECT titleText;        // left half of the title bar
    RECT titleBackground;  // right half
    RECT text;             // the sample text
};
PreviewRegions ComputePreviewRegions(HWND preview, const CAppearanceSettings& settings);
// The preview, painted off screen and copied in one go.
void DrawAppearancePreview(HWND preview, HDC dc, const CAppearanceSettings& settings, const char* title);

// A picture of the TEXTURES folder over the rectangle, tiled or stretched;
// nothing when it cannot be read.
void PaintTextureFile(HDC dc, const RECT& body, const char* fileName, bool stretch);

void ChoosePreviewColour(HWND owner, COLORREF& colour, const char* title);
void ChoosePreviewFont(HWND owner, LOGFONTA& font, COLORREF& colour, const char* title);
// The texture of the record; without a TEXTURES folder the user is told how
// to make one.
void ChooseNoteTexture(HWND owner, CAppearanceSettings& settings);

LRESULT CALLBACK AppearanceTitleProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK AppearancePreviewProc(HWND preview, UINT message, WPARAM wParam, LPARAM lParam);
