#pragma once

#include <windows.h>

// An owner-drawn push button that follows the mouse: the hand cursor and a
// raised edge while the mouse is over it, a background its parent paints, and
// a picture (an icon, a small bitmap or a picture file such as an avatar).

// An icon loaded from resources, with its bitmaps' description.
struct CLoadedIcon {
    HICON icon = nullptr;
    ICONINFO info = {};
    // Destroys the previous icon, then loads the icon resource at its default size.
    bool Load(HINSTANCE module, int id);
    void Free();
};

// What the parent of a button that lets it paint its background receives in
// the lParam of kMsgPaintButtonBackground.
struct HoverButtonBackground {
    RECT client;
    RECT inParent;
    HDC dc;
};
// Sent to the parent to paint what lies under the button.
const UINT kMsgPaintButtonBackground = 0x80AB;
// Sent to the button (wParam 0, lParam 20) to paint its background again.
const UINT kMsgRepaintButtonBackground = 0x80B0;
// The colour of a picture's pixels that let the background show through.
const COLORREF kPictureTransparentColor = 0x4080FF;
// The buttons whose small bitmap stays plain when grayed.
const int kPlainBitmapButtonId = 790;

struct CHoverButton {
    HWND parent = nullptr;
    HWND button = nullptr;
    WNDPROC previous = nullptr;
    bool focused = false;
    bool hovering = false;
    bool parentPaintsBackground = true;
    bool stretchPicture = false;
    bool noFocusRect = false;
    bool tooltipsOn = true;
    int identifier = 0;
    // A small bitmap, a picture (an avatar) and an icon; the button does not own
    // the bitmaps.
    HBITMAP smallBitmap = nullptr;
    HBITMAP picture = nullptr;
    CLoadedIcon icon;
    char pictureName[MAX_PATH] = "";
    HWND tooltip = nullptr;
    char tooltipText[100] = "";
};

// Subclasses the parent's button with the state, which must outlive it.
void SubclassHoverButton(CHoverButton& state, HWND parent, HWND button);
// The parent's WM_DRAWITEM for the button.
void DrawHoverButton(CHoverButton& state, const DRAWITEMSTRUCT& item);
