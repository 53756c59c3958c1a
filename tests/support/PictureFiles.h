#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Small picture files built byte by byte, and bitmaps to draw on, for the
// picture tests.

// A bottom-up 8-bit BMP with the given colour table (0x00BBGGRR entries) and
// one palette index per pixel, rows from the top.
std::string MakeBmp8(int width, int height, const std::vector<uint32_t>& colours,
                     const std::vector<uint8_t>& indexes);
// A 24-bit BMP file of side x side pixels in one colour, with a black diagonal
// so that no two rows of bytes are alike.
std::string SquareBitmap(int side, COLORREF colour);
// Bytes as one Base64 line, as the chat texts carry pictures.
std::string Base64Line(const std::string& bytes);
// A GIF of 5 x 3 pixels, all red, from a table of four colours.
extern const std::string kRedGif5x3;
// A baseline JPEG of 24 x 16 pixels, every pixel mid-grey.
std::string GreyJpeg24x16();

// A screen-compatible bitmap of one colour, with an optional rectangle of another.
HBITMAP MakeBitmap(int width, int height, COLORREF fill, RECT marked = RECT{0, 0, 0, 0}, COLORREF mark = 0);
// One pixel of a bitmap that is selected in no device context.
COLORREF PixelOf(HBITMAP bitmap, int x, int y);

// A movable block holding a METAFILEPICT of the metafile, as the clipboard and
// OLE hand pictures over.
HGLOBAL MakeMetafilePict(HMETAFILE metafile, LONG mapMode, LONG width, LONG height);
// The size of the clipboard's bitmap (0 by 0 without one); the clipboard is then emptied.
SIZE TakeClipboardBitmapSize();

// A white true-colour bitmap selected in a memory DC while the object lives.
class Canvas {
public:
    explicit Canvas(int width = 64, int height = 64);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HBITMAP m_bitmap;
    HDC m_dc;
    HGDIOBJ m_previous;
};
