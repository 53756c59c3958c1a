#include "support/TestPictures.h"

#include <vector>

#include "foundation/bytes/Base64Codec.h"

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
    BITMAPINFOHEADER header{sizeof header, side, side, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + pixels.size()), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof header};
    return std::string(reinterpret_cast<const char*>(&file), sizeof file) +
           std::string(reinterpret_cast<const char*>(&header), sizeof header) + pixels;
}

std::string Base64Line(const std::string& bytes)
{
    std::vector<char> line(CBase64Codec::EncodedLength(bytes.size()) + 1);
    size_t length = 0;
    CBase64Codec().EncodeString(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), line.data(),
                                line.size(), &length);
    return std::string(line.data(), length);
}
