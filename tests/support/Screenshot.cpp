#include "support/Screenshot.h"

#include <windows.h>

#include <vector>

#include "support/FailureRecords.h"
#include "support/InFolder.h"
#include "support/ProgramDriver.h"

namespace {
BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

bool HasNothingToPaint(HWND window)
{
    std::vector<HWND> windows{window};
    EnumChildWindows(window, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND each : windows)
        if (IsWindowVisible(each) && GetUpdateRect(each, nullptr, FALSE))
            return false;
    return true;
}
}

bool WaitUntilPainted(HWND window)
{
    // The window's thread answers once it has dealt with what was queued.
    return WaitUntil([&] { return SendWithTimeout(window, WM_NULL, 0, 0) && HasNothingToPaint(window); });
}

bool SaveScreenshotOf(HWND window, const std::string& name)
{
    const bool painted = WaitUntilPainted(window);
    return SaveScreenshot(name) && painted;
}

bool SaveScreenshot(const std::string& name)
{
    const std::string folder = ProgramFolder() + "\\screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".bmp";
    KeepIfTestFails(path, name + ".bmp");
    return SaveScreenPictureAs(path);
}

bool SaveScreenPictureAs(const std::string& path)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<char> pixels(static_cast<size_t>(rowBytes) * height);
    int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                         DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height)
        return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(pixels.data(), pixels.size());
    WriteWholeFile(path, bytes);
    return FileExists(path);
}

std::vector<COLORREF> ScreenPixels(const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFOHEADER info{sizeof info, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> bits(static_cast<size_t>(width) * height);
    GetDIBits(memory, picture, 0, height, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> pixels;
    pixels.reserve(bits.size());
    for (DWORD bgr : bits)
        pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    return pixels;
}

bool IsDarkPixel(COLORREF colour)
{
    const BYTE darkest = 0x50;
    return GetRValue(colour) < darkest && GetGValue(colour) < darkest && GetBValue(colour) < darkest;
}

namespace {
// The light and the dark pixels inside the window's frame.
struct Lightness {
    size_t all = 0, light = 0, dark = 0;
    // Text covers a few hundredths of a window; a black rectangle all of it,
    // an empty one none.
    bool Readable() const { return light * 2 >= all && dark * 500 >= all && dark * 2 <= all; }
};

Lightness LightnessInside(HWND window)
{
    RECT area{};
    GetWindowRect(window, &area);
    InflateRect(&area, -4, -4);
    Lightness seen;
    for (COLORREF pixel : ScreenPixels(area)) {
        ++seen.all;
        if (IsDarkPixel(pixel))
            ++seen.dark;
        else if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) >= 3 * 0xA0)
            ++seen.light;
    }
    return seen;
}
}

testing::AssertionResult ShowsReadably(HWND window, const std::string& name)
{
    Lightness seen;
    const bool readable = SaveScreenshotOf(window, name) &&
                          WaitUntil([&] { return (seen = LightnessInside(window)).Readable(); });
    SaveScreenshot(name);
    if (!readable || seen.all == 0)
        return testing::AssertionFailure() << name << ": of " << seen.all << " pixels " << seen.light
                                           << " light and " << seen.dark << " dark (see screenshots\\" << name
                                           << ".bmp)";
    return testing::AssertionSuccess();
}

std::string AcknowledgeReadableProgramBox(DWORD processId, const std::string& name, int buttonId)
{
    const ShownMessageBox box = WaitForMessageBox(processId, kDriverWaitMs, "Quillnet+");
    if (!box.window)
        return "(no box)";
    EXPECT_TRUE(ShowsReadably(box.window, name));
    AnswerMessageBox(box, buttonId);
    return box.text;
}
