#include "PictureFiles.h"

namespace {
void PutLe16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void PutLe32(std::string& out, uint32_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

void PutBe16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value >> 8 & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

std::string BmpHeaders(int width, int height, int bitCount, uint32_t colours, uint32_t bitsSize)
{
    uint32_t offset = 14 + 40 + colours * 4;
    std::string out = "BM";
    PutLe32(out, offset + bitsSize);
    PutLe32(out, 0);
    PutLe32(out, offset);
    PutLe32(out, 40);
    PutLe32(out, static_cast<uint32_t>(width));
    PutLe32(out, static_cast<uint32_t>(height));
    PutLe16(out, 1);
    PutLe16(out, static_cast<uint32_t>(bitCount));
    PutLe32(out, 0);
    PutLe32(out, bitsSize);
    PutLe32(out, 2835);
    PutLe32(out, 2835);
    PutLe32(out, colours);
    PutLe32(out, 0);
    return out;
}
}

std::string MakeBmp24(int width, int height, uint32_t colour)
{
    uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
    std::string out = BmpHeaders(width, height, 24, 0, stride * height);
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            row += static_cast<char>(colour >> 16 & 0xFF);
            row += static_cast<char>(colour >> 8 & 0xFF);
            row += static_cast<char>(colour & 0xFF);
        }
        row.resize(stride, '\0');
        out += row;
    }
    return out;
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

// LZW with a minimum code size of 2: codes are 3 bits wide as long as the
// table stays below 8 entries, which a clear code before every second pixel
// ensures.
std::string MakeGif(int width, int height)
{
    std::string out = "GIF89a";
    PutLe16(out, static_cast<uint32_t>(width));
    PutLe16(out, static_cast<uint32_t>(height));
    out += static_cast<char>(0x81); // global colour table of 4 entries
    out += '\0';
    out += '\0';
    const unsigned char table[] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    out.append(reinterpret_cast<const char*>(table), sizeof table);
    out += ',';
    PutLe16(out, 0);
    PutLe16(out, 0);
    PutLe16(out, static_cast<uint32_t>(width));
    PutLe16(out, static_cast<uint32_t>(height));
    out += '\0';
    out += '\x02';

    std::vector<unsigned> codes;
    int pixels = width * height;
    for (int i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            codes.push_back(4);
        codes.push_back(1);
    }
    codes.push_back(5);
    std::string data;
    unsigned buffer = 0;
    int bits = 0;
    for (unsigned code : codes) {
        buffer |= code << bits;
        bits += 3;
        while (bits >= 8) {
            data += static_cast<char>(buffer & 0xFF);
            buffer >>= 8;
            bits -= 8;
        }
    }
    if (bits)
        data += static_cast<char>(buffer & 0xFF);
    for (size_t at = 0; at < data.size(); at += 255) {
        std::string block = data.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    out += ';';
    return out;
}

// One component, one quantisation table of ones, and Huffman tables that hold a
// single one-bit code each: DC difference 0 and end of block. Every 8 x 8 block
// is then the two bits "00".
std::string MakeJpeg(int width, int height)
{
    std::string out = "\xFF\xD8";
    out += "\xFF\xDB";
    PutBe16(out, 67);
    out += '\0';
    out.append(64, '\x01');
    out += "\xFF\xC0";
    PutBe16(out, 11);
    out += '\x08';
    PutBe16(out, static_cast<uint32_t>(height));
    PutBe16(out, static_cast<uint32_t>(width));
    out += '\x01';
    out += '\x01';
    out += '\x11';
    out += '\0';
    for (char tableClass : {'\x00', '\x10'}) {
        out += "\xFF\xC4";
        PutBe16(out, 20);
        out += tableClass;
        out += '\x01';
        out.append(15, '\0');
        out += '\0';
    }
    out += "\xFF\xDA";
    PutBe16(out, 8);
    out += '\x01';
    out += '\x01';
    out += '\0';
    out += '\0';
    out += '\x3F';
    out += '\0';
    size_t blocks = static_cast<size_t>((width + 7) / 8) * static_cast<size_t>((height + 7) / 8);
    size_t bits = 2 * blocks;
    std::string scan(bits / 8, '\0');
    if (bits % 8)
        scan += static_cast<char>(0xFF >> (bits % 8));
    out += scan;
    out += "\xFF\xD9";
    return out;
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
