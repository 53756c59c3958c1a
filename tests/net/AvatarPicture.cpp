#include "AvatarPicture.h"

// A 24-bit picture of side x side pixels in one colour, with one odd pixel so
// that no two rows of bytes are alike at the start.
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

int ScreenPixelsOfColour(HWND window, COLORREF colour)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += GetPixel(screen, x, y) == colour ? 1 : 0;
    ReleaseDC(nullptr, screen);
    return count;
}
