#include "support/PictureFiles.h"

#include "foundation/bytes/Base64Codec.h"

namespace {
// The file header and a 40-byte BITMAPINFOHEADER, little-endian, for rows
// bottom-up after a table of the given number of colours.
std::string BmpHeaders(int width, int height, int bitCount, uint32_t colours, uint32_t bitsSize)
{
    uint32_t offset = 14 + 40 + colours * 4;
    const struct {
        uint32_t value;
        int bytes;
    } fields[] = {{0x4D42, 2}, {offset + bitsSize, 4}, {0, 4}, {offset, 4}, {40, 4},
                  {static_cast<uint32_t>(width), 4}, {static_cast<uint32_t>(height), 4}, {1, 2},
                  {static_cast<uint32_t>(bitCount), 2}, {0, 4}, {bitsSize, 4}, {2835, 4}, {2835, 4},
                  {colours, 4}, {0, 4}};
    std::string out;
    for (const auto& field : fields)
        for (int i = 0; i < field.bytes; ++i)
            out += static_cast<char>(field.value >> (8 * i) & 0xFF);
    return out;
}
}

std::string MakeBmp8(int width, int height, const std::vector<uint32_t>& colours, const std::vector<uint8_t>& indexes)
{
    uint32_t stride = (static_cast<uint32_t>(width) + 3) / 4 * 4;
    std::string out = BmpHeaders(width, height, 8, static_cast<uint32_t>(colours.size()), stride * height);
    for (uint32_t colour : colours) {
        out += static_cast<char>(colour >> 16 & 0xFF);
        out += static_cast<char>(colour >> 8 & 0xFF);
        out += static_cast<char>(colour & 0xFF);
        out += '\0';
    }
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x)
            row += static_cast<char>(indexes[static_cast<size_t>(y * width + x)]);
        row.resize(stride, '\0');
        out += row;
    }
    return out;
}

// LZW with a minimum code size of 2, a clear code before every second pixel
// keeping the codes 3 bits wide.
const std::string kRedGif5x3("GIF89a\x05\x00\x03\x00\x81\x00\x00\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF"
                             "\x2C\x00\x00\x00\x00\x05\x00\x03\x00\x00\x02\x09\x4C\x98\x30\x61\xC2\x84\x09\x13\xA6"
                             "\x00\x3B",
                             48);

// One component, a quantisation table of ones, and Huffman tables that hold a
// single one-bit code each: DC difference 0 and end of block. Each of the six
// 8 x 8 blocks is then the two bits "00".
std::string GreyJpeg24x16()
{
    return std::string("\xFF\xD8\xFF\xDB\x00\x43\x00", 7) + std::string(64, '\x01') +
           std::string("\xFF\xC0\x00\x0B\x08\x00\x10\x00\x18\x01\x01\x11\x00", 13) +
           std::string("\xFF\xC4\x00\x14\x00\x01", 6) + std::string(16, '\0') +
           std::string("\xFF\xC4\x00\x14\x10\x01", 6) + std::string(16, '\0') +
           std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x00\x0F\xFF\xD9", 14);
}

HBITMAP MakeBitmap(int width, int height, COLORREF fill, RECT marked, COLORREF mark)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    HBRUSH fillBrush = CreateSolidBrush(fill);
    HBRUSH markBrush = CreateSolidBrush(mark);
    FillRect(dc, &all, fillBrush);
    FillRect(dc, &marked, markBrush);
    SelectObject(dc, previous);
    DeleteObject(fillBrush);
    DeleteObject(markBrush);
    DeleteDC(dc);
    return bitmap;
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return pixel;
}

HGLOBAL MakeMetafilePict(HMETAFILE metafile, LONG mapMode, LONG width, LONG height)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
    *static_cast<METAFILEPICT*>(GlobalLock(block)) = METAFILEPICT{mapMode, width, height, metafile};
    GlobalUnlock(block);
    return block;
}

SIZE TakeClipboardBitmapSize()
{
    BITMAP header = {};
    if (OpenClipboard(nullptr)) {
        HANDLE bitmap = GetClipboardData(CF_BITMAP);
        if (bitmap)
            GetObjectA(bitmap, sizeof header, &header);
        EmptyClipboard();
        CloseClipboard();
    }
    return SIZE{header.bmWidth, header.bmHeight};
}

Canvas::Canvas(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_dc = CreateCompatibleDC(nullptr);
    m_previous = SelectObject(m_dc, m_bitmap);
    PatBlt(m_dc, 0, 0, width, height, WHITENESS);
}

Canvas::~Canvas()
{
    SelectObject(m_dc, m_previous);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
}

std::string SquareBitmap(int side, COLORREF colour)
{
    std::string pixels;
    const int rowBytes = (side * 3 + 3) & ~3;
    for (int y = 0; y < side; ++y) {
        std::string row;
        for (int x = 0; x < side; ++x) {
            COLORREF c = x == y ? RGB(0, 0, 0) : colour;
            row += static_cast<char>(GetBValue(c));
            row += static_cast<char>(GetGValue(c));
            row += static_cast<char>(GetRValue(c));
        }
        row.resize(rowBytes, '\0');
        pixels += row;
    }
    return BmpHeaders(side, side, 24, 0, static_cast<uint32_t>(pixels.size())) + pixels;
}

std::string Base64Line(const std::string& bytes)
{
    std::vector<char> line(CBase64Codec::EncodedLength(bytes.size()) + 1);
    size_t length = 0;
    CBase64Codec().EncodeString(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), line.data(),
                                line.size(), &length);
    return std::string(line.data(), length);
}
