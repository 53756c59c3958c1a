#pragma once

#include <windows.h>

struct IPicture;

// A picture file (BMP, GIF or JPEG) or a bitmap resource turned into a
// device-dependent bitmap, with its size in pixels. Failures are shown in boxes
// and leave no bitmap.
class CLoadedBitmap {
public:
    // With a path, loads it at once.
    explicit CLoadedBitmap(const char* path = nullptr);
    ~CLoadedBitmap() { Free(); }
    CLoadedBitmap(const CLoadedBitmap&) = delete;
    CLoadedBitmap& operator=(const CLoadedBitmap&) = delete;

    // The loader follows the extension as written: ".bmp"/".BMP", ".jpg"/".JPG",
    // ".gif"/".GIF"; ".png" and any other spelling are refused. Returns the
    // bitmap, null on failure.
    HBITMAP LoadImageFromFile(HINSTANCE instance, const char* path);
    // GIF and JPEG through OLE, rendered upright at the display's resolution.
    bool LoadGifJpg(const char* path);
    HBITMAP LoadBitmapResource(HINSTANCE instance, UINT id);
    // Deletes the bitmap unless someone else owns it now; the holder is then
    // empty, of no size.
    void Free();
    // The bitmap has been handed on; Free leaves it alone.
    void SetBorrowed() { m_borrowed = true; }

    HBITMAP GetBitmap() const { return m_bitmap; }
    const BITMAP& GetHeader() const { return m_header; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    bool IsGif() const { return m_isGif; }
    bool IsBmp() const { return m_isBmp; }
    bool IsJpeg() const { return m_isJpeg; }

private:
    void TakeBitmap(HBITMAP bitmap);
    bool RenderPicture();

    HBITMAP m_bitmap = nullptr;
    BITMAP m_header = {};
    int m_width = 0;
    int m_height = 0;
    bool m_isGif = false;
    bool m_isBmp = false;
    bool m_isJpeg = false;
    IPicture* m_picture = nullptr;
    bool m_borrowed = false;
};

// A size in HIMETRIC units (0.01 mm) as pixels at the given resolution.
int HimetricToPixels(long himetric, int dotsPerInch);
