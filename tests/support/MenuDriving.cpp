#include "support/MenuDriving.h"

#include "globals/MainWindowMessages.h"

#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
// Where the program's owner-drawn items start their texts: two margins beside
// the 16-pixel picture column and a gap.
const int kTextStart = 2 * 2 + 16 + 5;
const int kSeparatorHeight = 10;

// The text's size in the menu font, "&" marks taken as the menus take them.
SIZE MenuTextSize(const std::string& text)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMenuFont.lfCharSet = DEFAULT_CHARSET;
    HFONT font = CreateFontIndirectA(&metrics.lfMenuFont);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    RECT size{0, 0, 0, 0};
    DrawTextA(screen, text.c_str(), -1, &size, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return {size.right, size.bottom};
}

// The menu has drawn everything it was asked to.
bool Painted(HWND menu)
{
    return SendWithTimeout(menu, WM_NULL, 0, 0) && !GetUpdateRect(menu, nullptr, FALSE);
}

// No other window lies over the menu's corners: what the screen shows there
// is the menu's.
bool NothingCovers(HWND menu, POINT origin, int width, int height)
{
    for (POINT corner : {POINT{0, 0}, POINT{width - 1, 0}, POINT{0, height - 1}, POINT{width - 1, height - 1}}) {
        if (WindowFromPoint({origin.x + corner.x, origin.y + corner.y}) != menu)
            return false;
    }
    return true;
}
}

std::vector<HWND> OpenMenus(DWORD process)
{
    std::vector<HWND> open;
    for (HWND menu : TopWindowsOf(process, "#32768")) {
        if (IsWindowVisible(menu))
            open.insert(open.begin(), menu);  // the system lists the newest first
    }
    return open;
}

HWND WaitForOpenMenus(DWORD process, size_t count)
{
    std::vector<HWND> menus;
    if (!WaitUntil([&] { return (menus = OpenMenus(process)).size() >= count; }))
        return nullptr;
    return menus[count - 1];
}

HWND OpenTrayMenu(HWND main, DWORD process, int item)
{
    PostMessageA(main, kMsgOpenTrayMenu, 0, 0);
    HWND menu = WaitForOpenMenus(process, 1);
    if (!menu || item < 0)
        return menu;
    for (int step = 0; step <= item; ++step)
        PressMenuKey(menu, VK_DOWN);
    PressMenuKey(menu, VK_RIGHT);
    return WaitForOpenMenus(process, 2);
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
    return MenuTextSize(text).cx;
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

    m_onTop = NothingCovers(menu, origin, m_width, height);
    m_pixels = ScreenPixels({origin.x, origin.y, origin.x + m_width, origin.y + height});

    // An item is as high as the menu font's text, at least 16, and 3 more.
    const int textHeight = MenuTextSize("Ag").cy;
    m_itemHeight = (textHeight > 16 ? textHeight : 16) + 3;

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

::testing::AssertionResult MenuShows(HWND menu, const std::string& layout, const std::vector<bool>& enabled)
{
    std::string seen;
    const bool shown = WaitUntil([&] {
        MenuPicture picture(menu, layout);
        seen.clear();
        bool matches = picture.Fits() && picture.OnTop();
        for (size_t item = 0; item < enabled.size(); ++item) {
            seen += picture.HasDarkText(item) ? '1' : '0';
            matches = matches && picture.HasDarkText(item) == enabled[item];
        }
        seen += picture.Fits() ? ", fitting the layout" : ", not fitting the layout";
        seen += picture.OnTop() ? "" : ", under another window";
        return matches;
    });
    if (shown)
        return ::testing::AssertionSuccess();
    // What the screen showed is kept for the person reading the failure.
    static int failures = 0;
    const std::string screenshot = "menu-shows-failure-" + std::to_string(++failures);
    SaveScreenshot(screenshot);
    return ::testing::AssertionFailure() << "the menu last showed its items enabled as " << seen << " (screenshot "
                                         << screenshot << ")";
}

int MenuPicture::TextEnd(size_t item) const
{
    if (item >= m_tops.size())
        return -1;
    int end = -1;
    for (int y = m_tops[item] + 1; y < m_tops[item] + m_itemHeight - 1; ++y) {
        for (int x = kTextStart; x < m_width; ++x) {
            if (IsDarkPixel(m_pixels[static_cast<size_t>(y) * m_width + x]) && x - kTextStart > end)
                end = x - kTextStart;
        }
    }
    return end;
}

bool MenuPicture::HasMark(size_t item) const
{
    if (item >= m_tops.size() || m_width <= kTextStart)
        return false;
    // The item's top row shows the bare column (its colours may change from
    // left to right); a mark covers the rows under it.
    const size_t reference = static_cast<size_t>(m_tops[item]) * m_width;
    for (int y = m_tops[item] + 3; y < m_tops[item] + m_itemHeight - 3; ++y) {
        for (int x = 4; x < kTextStart - 8; ++x) {
            if (m_pixels[static_cast<size_t>(y) * m_width + x] != m_pixels[reference + x])
                return true;
        }
    }
    return false;
}

::testing::AssertionResult DrawnAsWideAs(int drawnEnd, const std::string& text)
{
    const int width = MenuTextWidth(text);
    if (drawnEnd >= width * 85 / 100 && drawnEnd <= width * 105 / 100)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the drawn text ends at " << drawnEnd << ", \"" << text << "\" measures "
                                         << width;
}
