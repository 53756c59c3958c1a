#pragma once

#include <windows.h>
#include <commctrl.h>

// An image list of small icons (the favourites' icons and the menus' pictures),
// with the bitmap strip last loaded into it.
class CFavouritesImageList {
public:
    CFavouritesImageList() = default;
    ~CFavouritesImageList() { Destroy(); }
    CFavouritesImageList(const CFavouritesImageList&) = delete;
    CFavouritesImageList& operator=(const CFavouritesImageList&) = delete;

    void Create(int width, int height, UINT flags, int initialCount, int growth);
    // Appends a copy of the icon; returns its index.
    int AddIcon(HICON icon);
    // Adds the images of a bitmap resource, the mask colour transparent.
    void AddBitmapStrip(HINSTANCE module, UINT bitmapId, COLORREF maskColor);
    // The caller destroys the icon.
    HICON GetIcon(int index, UINT flags) const;
    // Draws image i transparently at (x, y); a failure is shown and gives 0.
    int Draw(HDC dc, int index, int x, int y) const;
    void Destroy();

    HIMAGELIST GetHandle() const { return m_list; }

private:
    HIMAGELIST m_list = nullptr;
    HBITMAP m_strip = nullptr;
};
