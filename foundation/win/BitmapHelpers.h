#pragma once

#include <windows.h>

#include "foundation/win/DeviceContext.h"

// Selects a bitmap into a device context for the life of the object; Restore
// puts the previous one back once.
class CBitmapConnector : public CObjectSelector {
public:
    // Throws when the bitmap cannot be selected (it is selected elsewhere).
    CBitmapConnector(HDC dc, HBITMAP bitmap);
};

// A memory device context compatible with another one, deleted with the object.
class CCompatibleDC {
public:
    explicit CCompatibleDC(HDC dc) : m_dc(CreateCompatibleDC(dc)) {}
    ~CCompatibleDC()
    {
        if (m_dc)
            DeleteDC(m_dc);
    }
    CCompatibleDC(const CCompatibleDC&) = delete;
    CCompatibleDC& operator=(const CCompatibleDC&) = delete;

    HDC GetHandle() const { return m_dc; }

private:
    HDC m_dc;
};

// The owner of one bitmap: the release deletes it and clears the handle.
class CBitmapHolder {
public:
    explicit CBitmapHolder(HBITMAP bitmap = nullptr) : m_bitmap(bitmap) {}
    ~CBitmapHolder() { Release(); }
    CBitmapHolder(const CBitmapHolder&) = delete;
    CBitmapHolder& operator=(const CBitmapHolder&) = delete;

    void Release()
    {
        if (m_bitmap)
            DeleteObject(m_bitmap);
        m_bitmap = nullptr;
    }
    // Hands the bitmap on without deleting it.
    HBITMAP Detach()
    {
        HBITMAP bitmap = m_bitmap;
        m_bitmap = nullptr;
        return bitmap;
    }
    HBITMAP Get() const { return m_bitmap; }

private:
    HBITMAP m_bitmap;
};

// A new bitmap of the same size holding the same picture; the caller deletes it.
HBITMAP CopyBitmap(HBITMAP bitmap);
// Every pixel of exactly the old colour takes the new one.
void ReplaceBitmapColor(HBITMAP bitmap, COLORREF oldColor, COLORREF newColor);
// Copies the whole bitmap to (x, y).
void DrawBitmapAt(HDC dc, HBITMAP bitmap, int x, int y);
// The bitmap as an icon whose pixels of the mask colour are transparent; the
// caller destroys it. Null after a box when it cannot be made.
HICON ConvertBitmapToIcon(HBITMAP bitmap, COLORREF maskColor);
// A metafile picture played into a new bitmap of its extent (HIMETRIC extents of
// MM_ANISOTROPIC converted to pixels of the window's display); null on failure.
HBITMAP PlayMetafilePicture(HWND window, const METAFILEPICT& picture);
// When the clipboard holds a metafile picture, adds it there as a bitmap too.
bool ConvertClipboardMetafile(HWND window);
