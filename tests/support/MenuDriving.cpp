#include "support/MenuDriving.h"

#include <algorithm>
#include <map>

#include "globals/MainWindowMessages.h"

#include "support/ExtraTries.h"
#include "support/NoticeReading.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

const char kTrayMenuLayout[] = "ii-iiiiiii-ii-ii-i";

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

// The menu is on the screen and has drawn everything it was asked to: a menu
// not shown yet has nothing to paint either.
bool Painted(HWND menu)
{
    return IsWindowVisible(menu) && SendWithTimeout(menu, WM_NULL, 0, 0) && !GetUpdateRect(menu, nullptr, FALSE);
}

// Where the pointer rests while the tray menu is driven by the keys: at the
// screen's left edge, below the tray window. The menu opens right of the
// pointer and its submenus further right, so that no menu opens under the
// pointer (one that does takes the pointer's item for the keys' selection),
// and no tooltip of the tray's icons comes up over a menu.
const POINT kTrayMenuPointer{2, 200};

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

HWND OpenMenuByMessage(HWND window, DWORD process, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A user's click comes through X after every notice X sent the window's
    // thread before it; a message sent from here overtakes those not read
    // yet. Read in the menu's own loop, the notice that the focus had left
    // the foreground window (when a dialog over it showed, say) makes Wine
    // cancel the menu at once: the thread reads them first.
    if (!WindowReadItsNotices(window)) {
        ADD_FAILURE() << "the window's thread did not read its notices before the message that opens its menu";
        return nullptr;
    }
    if (!SendInOrder(window, message, wParam, lParam))
        return nullptr;
    std::vector<HWND> menus;
    WaitUntil([&] { return !(menus = OpenMenus(process)).empty() || AllSentHandled(); });
    return menus.empty() ? nullptr : menus.front();
}

namespace {
// The item (counted without separators) that the open menu draws selected;
// -1 when it draws none so.
int SelectedItem(HWND menu, const std::string& layout)
{
    const MenuPicture picture(menu, layout);
    const int items = static_cast<int>(std::count(layout.begin(), layout.end(), 'i'));
    for (int item = 0; item < items; ++item) {
        if (picture.IsSelected(static_cast<size_t>(item)))
            return item;
    }
    return -1;
}

// The tray menu opened as the tray icon's right click opens it, at the
// pointer; null when it did not come.
HWND OpenTrayMenuAtPointer(HWND main, DWORD process)
{
    // A menu of an earlier step may still be closing.
    if (!WaitUntil([&] { return OpenMenus(process).empty(); })) {
        ADD_FAILURE() << "a menu of the program stayed open";
        return nullptr;
    }
    SetCursorPos(kTrayMenuPointer.x, kTrayMenuPointer.y);
    PostMessageA(main, kMsgOpenTrayMenu, 0, 0);
    return WaitForOpenMenus(process, 1);
}

// The tray menu opened and the item's submenu opened by the keys, once the
// menu shows the item selected under it; null otherwise, with the item the
// menu shows selected in *selected, and in *beforeKeys the one it showed
// selected as it opened. The selection passes the items above on its way, so
// it is read before Right until it has come that far, and again once the
// submenu shows, when no key is on its way any more.
HWND OpenTraySubmenuOnce(HWND main, DWORD process, int item, int* selected, int* beforeKeys)
{
    *selected = -1;
    *beforeKeys = -1;
    HWND menu = OpenTrayMenuAtPointer(main, process);
    if (!menu)
        return nullptr;
    // An item the menu selected from the pointer's place is where the keys start.
    *beforeKeys = SelectedItem(menu, kTrayMenuLayout);
    const int from = *beforeKeys <= item ? *beforeKeys : -1;
    // The keys are handled in the order they are posted, once the menu is up.
    for (int step = from; step < item; ++step)
        PressMenuKey(menu, VK_DOWN);
    if (!WaitUntil([&] { return (*selected = SelectedItem(menu, kTrayMenuLayout)) >= item; }) || *selected != item)
        return nullptr;
    PressMenuKey(menu, VK_RIGHT);
    HWND submenu = WaitForSubmenu(process, menu);
    if (!submenu)
        return nullptr;
    *selected = SelectedItem(menu, kTrayMenuLayout);
    return *selected == item ? submenu : nullptr;
}
}

HWND OpenTrayMenu(HWND main, DWORD process, int item)
{
    if (item < 0)
        return OpenTrayMenuAtPointer(main, process);
    for (int attempt = 1;; ++attempt) {
        int selected = -1;
        int beforeKeys = -1;
        HWND submenu = OpenTraySubmenuOnce(main, process, item, &selected, &beforeKeys);
        if (submenu)
            return submenu;
        // The menu opens with its corner under the pointer, and was seen to
        // select its first item from the pointer's place, after the look
        // above and before the keys came, which then went exactly one item
        // too far. Keys that went less far or further, or from an item seen
        // selected, are not the pointer's doing.
        if (beforeKeys >= 0 || selected != item + 1 || attempt == 3) {
            ADD_FAILURE() << "the tray menu's item " << item << " with its submenu did not come (item " << selected
                          << " shown selected)";
            return nullptr;
        }
        ReportExtraTry("the tray menu opened again", attempt + 1,
                       "its keys left item " + std::to_string(selected) + " selected, one past item " +
                           std::to_string(item) + ", from a menu that showed no item selected as it opened: "
                           "its first item was selected from the pointer's place after that look, before the keys");
        if (!CloseMenus(process))
            return nullptr;
    }
}

HWND WaitForSubmenu(DWORD process, HWND menu)
{
    return WaitForNewMenu(process, {menu});
}

HWND WaitForNewMenu(DWORD process, const std::vector<HWND>& before)
{
    HWND opened = nullptr;
    WaitUntil([&] {
        for (HWND open : OpenMenus(process))
            if (std::find(before.begin(), before.end(), open) == before.end())
                opened = open;
        return opened != nullptr;
    });
    return opened;
}

void PressMenuKey(HWND menu, UINT key)
{
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
}

bool MoveMenuSelectionOff(HWND menu, UINT key, const std::string& layout, size_t item)
{
    if (!WaitUntil([&] { return MenuPicture(menu, layout).IsSelected(item); }))
        return false;
    PressMenuKey(menu, key);
    return WaitUntil([&] { return !MenuPicture(menu, layout).IsSelected(item); });
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
    if (!WaitUntil([&] { return Painted(menu); })) {
        ADD_FAILURE() << "the menu was not shown painted within the time";
        return;
    }
    RECT client{};
    GetClientRect(menu, &client);
    POINT origin{0, 0};
    ClientToScreen(menu, &origin);
    m_origin = origin;
    m_width = client.right;
    const int height = client.bottom;
    if (m_width <= 0 || height <= 0)
        return;

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

    m_onTop = NothingCovers(menu, origin, m_width, height);
    // A menu painted in its window may reach the screen a moment later: until
    // then the screen shows black there, or what was there before. The picture
    // is taken again until the items' rows show the menu's light background
    // (all but a selected one).
    const RECT area{origin.x, origin.y, origin.x + m_width, origin.y + height};
    WaitUntil([&] {
        m_pixels = ScreenPixels(area);
        return !m_fits || RowsShowALightBackground();
    });
}

std::vector<COLORREF> MenuPicture::RowGaps() const
{
    std::vector<COLORREF> gaps;
    for (int top : m_tops) {
        const size_t at = static_cast<size_t>(top + m_itemHeight / 2) * m_width + kTextStart - 2;
        if (m_width < kTextStart || at >= m_pixels.size())
            return {};
        gaps.push_back(m_pixels[at]);
    }
    return gaps;
}

bool MenuPicture::RowsShowALightBackground() const
{
    std::map<COLORREF, size_t> counts;
    const std::vector<COLORREF> gaps = RowGaps();
    for (COLORREF gap : gaps)
        ++counts[gap];
    for (const auto& [colour, rows] : counts) {
        if (rows + 1 >= gaps.size())
            return GetRValue(colour) >= 0xA0 && GetGValue(colour) >= 0xA0 && GetBValue(colour) >= 0xA0;
    }
    return false;
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

POINT MenuPicture::ItemMiddle(size_t item) const
{
    if (item >= m_tops.size())
        return m_origin;
    return {m_origin.x + m_width / 2, m_origin.y + m_tops[item] + m_itemHeight / 2};
}

bool MenuPicture::IsSelected(size_t item) const
{
    // The selection fills the item's whole row, also the gap before its
    // text, in a colour of its own: the items left as they are share the
    // background's there.
    const std::vector<COLORREF> gaps = RowGaps();
    if (item >= gaps.size())
        return false;
    size_t same = 0;
    for (COLORREF gap : gaps)
        same += gap == gaps[item] ? 1 : 0;
    return same * 2 < gaps.size();
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

int MenuPicture::TextStart(size_t item) const
{
    if (item >= m_tops.size())
        return -1;
    int start = -1;
    for (int y = m_tops[item] + 1; y < m_tops[item] + m_itemHeight - 1; ++y) {
        for (int x = kTextStart; x < m_width; ++x) {
            if (IsDarkPixel(m_pixels[static_cast<size_t>(y) * m_width + x]) && (start < 0 || x - kTextStart < start))
                start = x - kTextStart;
        }
    }
    return start;
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

bool MenuPicture::HasDarkPicture(size_t item) const
{
    if (item >= m_tops.size() || m_width <= kTextStart)
        return false;
    for (int y = m_tops[item] + 1; y < m_tops[item] + m_itemHeight - 1; ++y) {
        for (int x = 2; x < kTextStart - 4; ++x) {
            if (IsDarkPixel(m_pixels[static_cast<size_t>(y) * m_width + x]))
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

std::vector<std::pair<int, int>> MenuPicture::Underlines(size_t item) const
{
    std::vector<std::pair<int, int>> lines;
    if (item >= m_tops.size())
        return lines;
    const int height = static_cast<int>(m_pixels.size()) / m_width;
    auto dark = [&](int x, int y) {
        return x >= 0 && x < m_width && y >= 0 && y < height &&
               IsDarkPixel(m_pixels[static_cast<size_t>(y) * m_width + x]);
    };
    // The text line's foot: the lowest row that many letters reach, and
    // reach from the row above (a mark has a blank row over it).
    const int top = m_tops[item] + 1;
    const int bottom = m_tops[item] + m_itemHeight - 1;
    std::vector<int> counts;
    int most = 0;
    for (int y = top; y < bottom; ++y) {
        int count = 0;
        for (int x = kTextStart; x < m_width; ++x)
            count += dark(x, y) ? 1 : 0;
        counts.push_back(count);
        most = count > most ? count : most;
    }
    int foot = -1;
    for (int y = top + 1; y < bottom; ++y) {
        if (most > 0 && counts[y - top] * 4 >= most && counts[y - top - 1] * 4 >= most)
            foot = y;
    }
    // The marks may reach a row or two past the item's measured band.
    for (int y = foot + 1; foot >= 0 && y <= bottom + 2 && y < height; ++y) {
        for (int x = kTextStart; x < m_width;) {
            if (!dark(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (dark(end + 1, y))
                ++end;
            const int middle = (x + end) / 2;
            if (end - x >= 1 && !dark(middle, y - 1) && !dark(middle, y + 1))
                lines.push_back({x - kTextStart, end - kTextStart});
            x = end + 1;
        }
    }
    return lines;
}

::testing::AssertionResult MarksAccelerator(const MenuPicture& picture, size_t item, const std::string& text)
{
    std::string plain;
    int marked = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            marked = static_cast<int>(plain.size());
            continue;
        }
        plain += text[i];
    }
    // The program draws a little narrower than the test measures: the
    // letters' places are scaled by the drawn text's width, unless more (a
    // hotkey's text) is drawn after it.
    const std::string shown = plain.substr(0, plain.find_last_not_of(' ') + 1);
    const int origin = picture.TextStart(item);
    double scale = (picture.TextEnd(item) - origin + 1.0) / MenuTextWidth(shown);
    if (scale > 1.1)
        scale = 1.0;
    // A mark starts under its letter (Wine may draw it reaching into the
    // next one); a line that reaches under a descender is that letter's foot.
    auto letterStart = [&](size_t i) { return scale * MenuTextWidth(plain.substr(0, i)); };
    std::vector<int> marks;
    for (const std::pair<int, int>& line : picture.Underlines(item)) {
        const double first = line.first - origin, last = line.second + 1 - origin;
        bool foot = false;
        int letter = -1;
        for (size_t i = 0; i < plain.size(); ++i) {
            const double start = letterStart(i), end = letterStart(i + 1);
            if (std::string("gjpqy(),;").find(plain[i]) != std::string::npos && first < end && last > start)
                foot = true;
            if (first + 0.5 >= start && first + 0.5 < end)
                letter = static_cast<int>(i);
        }
        if (!foot && letter >= 0)
            marks.push_back(letter);
    }
    const int found = marks.size() == 1 ? marks[0] : -1;
    if (marks.size() <= 1 && found == marked)
        return ::testing::AssertionSuccess();
    if (marks.size() > 1)
        return ::testing::AssertionFailure() << "\"" << plain << "\" is drawn with " << marks.size() << " marks";
    return ::testing::AssertionFailure() << "\"" << plain << "\" is drawn with its mark under "
                                         << (found < 0 ? std::string("no letter") : "letter " + std::to_string(found))
                                         << ", not under "
                                         << (marked < 0 ? std::string("no letter") : "letter " + std::to_string(marked));
}

::testing::AssertionResult ShowsAccelerators(HWND menu, const std::string& layout,
                                             const std::vector<std::pair<size_t, std::string>>& items)
{
    std::string seen;
    const bool shown = WaitUntil([&] {
        const MenuPicture picture(menu, layout);
        seen = picture.Fits() ? (picture.OnTop() ? "" : "the menu under another window") : "the menu not fitting";
        for (size_t i = 0; seen.empty() && i < items.size(); ++i) {
            const ::testing::AssertionResult marked = MarksAccelerator(picture, items[i].first, items[i].second);
            if (!picture.HasDarkText(items[i].first))
                seen = "item " + std::to_string(items[i].first) + " showing no dark text";
            else if (!marked)
                seen = marked.message();
        }
        return seen.empty();
    });
    if (shown)
        return ::testing::AssertionSuccess();
    // What the screen showed is kept for the person reading the failure.
    static int failures = 0;
    const std::string screenshot = "menu-accelerators-failure-" + std::to_string(++failures);
    SaveScreenshot(screenshot);
    return ::testing::AssertionFailure() << seen << " (screenshot " << screenshot << ")";
}
