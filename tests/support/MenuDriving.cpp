#include "support/MenuDriving.h"

#include "support/ProgramDriver.h"

namespace {
// Where the program's owner-drawn items start their texts: two margins beside
// the 16-pixel picture column and a gap.
const int kTextStart = 2 * 2 + 16 + 5;
const int kSeparatorHeight = 10;
const int kDarkest = 0x50;

struct MenuSearch {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMenu(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<MenuSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window) && WindowClassOf(window) == "#32768")
        search->found.push_back(window);
    return TRUE;
}

HFONT MakeMenuFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMenuFont.lfCharSet = DEFAULT_CHARSET;
    return CreateFontIndirectA(&metrics.lfMenuFont);
}

bool Dark(COLORREF colour)
{
    return GetRValue(colour) < kDarkest && GetGValue(colour) < kDarkest && GetBValue(colour) < kDarkest;
}

// The menu has drawn everything it was asked to.
bool Painted(HWND menu)
{
    return SendWithTimeout(menu, WM_NULL, 0, 0) && !GetUpdateRect(menu, nullptr, FALSE);
}
}

std::vector<HWND> OpenMenus(DWORD process)
{
    MenuSearch search{process, {}};
    EnumWindows(&CollectMenu, reinterpret_cast<LPARAM>(&search));
    // The system lists the newest window first.
    return std::vector<HWND>(search.found.rbegin(), search.found.rend());
}

HWND WaitForOpenMenus(DWORD process, size_t count)
{
    std::vector<HWND> menus;
    if (!WaitUntil([&] { return (menus = OpenMenus(process)).size() >= count; }))
        return nullptr;
    return menus[count - 1];
}

void PressMenuKey(HWND menu, UINT key)
{
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
}

bool CloseMenus(DWORD process)
{
    for (int round = 0; round < 10; ++round) {
        std::vector<HWND> menus = OpenMenus(process);
        if (menus.empty())
            return true;
        const size_t open = menus.size();
        PressMenuKey(menus.back(), VK_ESCAPE);
        WaitUntil([&] { return OpenMenus(process).size() < open; }, 3000);
    }
    return OpenMenus(process).empty();
}

int MenuTextWidth(const std::string& text)
{
    HDC screen = GetDC(nullptr);
    HFONT font = MakeMenuFont();
    HGDIOBJ previous = SelectObject(screen, font);
    RECT size{0, 0, 0, 0};
    DrawTextA(screen, text.c_str(), -1, &size, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return size.right;
}

MenuPicture::MenuPicture(HWND menu, const std::string& layout)
{
    WaitUntil([&] { return Painted(menu); });
    RECT client{};
    GetClientRect(menu, &client);
    POINT origin{0, 0};
    ClientToScreen(menu, &origin);
    m_width = client.right;
    const int height = client.bottom;
    if (m_width <= 0 || height <= 0)
        return;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, m_width, height);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, m_width, height, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFOHEADER info{sizeof info, m_width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> bits(static_cast<size_t>(m_width) * height);
    GetDIBits(memory, picture, 0, height, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (DWORD bgr : bits)
        m_pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));

    // An item is as high as the menu font's text, at least 16, and 3 more.
    HDC measure = GetDC(nullptr);
    HFONT font = MakeMenuFont();
    HGDIOBJ previousFont = SelectObject(measure, font);
    SIZE text{0, 0};
    GetTextExtentPoint32A(measure, "Ag", 2, &text);
    SelectObject(measure, previousFont);
    DeleteObject(font);
    ReleaseDC(nullptr, measure);
    m_itemHeight = (text.cy > 16 ? text.cy : 16) + 3;

    int total = 0;
    for (char kind : layout)
        total += kind == '-' ? kSeparatorHeight : m_itemHeight;
    const int margin = (height - total) / 2;
    m_fits = margin >= 0 && margin <= 6;
    int top = margin;
    for (char kind : layout) {
        if (kind != '-')
            m_tops.push_back(top);
        top += kind == '-' ? kSeparatorHeight : m_itemHeight;
    }
}

int MenuPicture::TextEnd(size_t item) const
{
    if (item >= m_tops.size())
        return -1;
    int end = -1;
    for (int y = m_tops[item] + 1; y < m_tops[item] + m_itemHeight - 1; ++y) {
        for (int x = kTextStart; x < m_width; ++x) {
            if (Dark(m_pixels[static_cast<size_t>(y) * m_width + x]) && x - kTextStart > end)
                end = x - kTextStart;
        }
    }
    return end;
}
