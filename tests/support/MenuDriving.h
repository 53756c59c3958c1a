#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

// The program's popup menus as the user meets them: found on the screen, moved
// through with the keys, and read from what they draw (another process's menu
// cannot be asked for its items).

// The open popup menus of the process, as the system lists them (a submenu
// may come before its menu).
std::vector<HWND> OpenMenus(DWORD process);
// Once count popup menus of the process are shown, the last of them; null when
// they did not come within the time.
HWND WaitForOpenMenus(DWORD process, size_t count);
// The menu that the message opens in the program's window, once it shows; null
// when none came. The message is sent, not posted, so that it comes before
// whatever the test sends next and the driver learns when the window is done
// with it (a menu's window is done once the menu has closed). The window's
// thread first reads what X has told it, as it has by the time a user's
// click reaches it.
HWND OpenMenuByMessage(HWND window, DWORD process, UINT message, WPARAM wParam, LPARAM lParam);
// The submenu that the open menu opened, once it is shown; null when it did
// not come within the time.
HWND WaitForSubmenu(DWORD process, HWND menu);
// The menu that opened after those that were open before (taken before the
// key or click that opens it), once it is shown; null when none came. The
// system does not list the open menus in the order they opened.
HWND WaitForNewMenu(DWORD process, const std::vector<HWND>& before);
// The items of the program's tray menu: new note, undelete | Note Manager to
// find | settings, backup and restore | help, about | exit.
extern const char kTrayMenuLayout[];
// The program's tray menu opened as the tray icon's right click opens it (at
// the pointer); with an item (counted without separators), that item's
// submenu opened by the keys, once the menu shows that item selected under
// it. The keys start from an item the menu shows selected from the pointer's
// place as it opens; a menu that showed none then and whose keys went one
// item too far (the pointer's selection came after that look) is opened
// again, at most twice, each time told. The menu shown last, or null.
HWND OpenTrayMenu(HWND main, DWORD process, int item = -1);
// A key pressed in the open menus.
void PressMenuKey(HWND menu, UINT key);
// A key that moves the selection of the open menu away from the item
// (counted without separators) of its layout: pressed once the menu shows the
// item selected, and done once it no longer does; false when either did not
// come within the time. (A grayed item shows no selection.)
bool MoveMenuSelectionOff(HWND menu, UINT key, const std::string& layout, size_t item);
// Escape until no menu of the process is open; false when one stayed.
bool CloseMenus(DWORD process);

// An open menu's items as drawn, once it has painted: its layout names the
// items in order, 'i' an item and '-' a separator (10 pixels high in the
// program's menus; the items' height follows from the menu font).
class MenuPicture {
public:
    MenuPicture(HWND menu, const std::string& layout);
    // The items fill the menu as the layout says.
    bool Fits() const { return m_fits; }
    // No other window covers the menu, so that the picture is the menu's.
    bool OnTop() const { return m_onTop; }
    // The right end of the item's text (its last dark pixel), counted from
    // where item texts start; -1 when the item shows no dark text.
    int TextEnd(size_t item) const;
    // The left end of the item's text (its first dark pixel), counted the
    // same way; -1 when the item shows no dark text.
    int TextStart(size_t item) const;
    // The middle of the item on the screen, where a click chooses it.
    POINT ItemMiddle(size_t item) const;
    // Whether the item is drawn selected: its row in a colour that fewer
    // than half of the items show (a menu of three items at least).
    bool IsSelected(size_t item) const;
    // Whether the item's text is drawn in the normal (not grayed) colour.
    bool HasDarkText(size_t item) const { return TextEnd(item) >= 0; }
    // Whether something is drawn in the item's picture column (a check mark's
    // frame, a picture) other than the menu's background there.
    bool HasMark(size_t item) const;
    // Whether the item's picture column shows a dark picture (a check mark
    // drawn from the menus' pictures), not only a frame in light colours.
    bool HasDarkPicture(size_t item) const;
    // The short lines drawn below the item's text line, one pixel high with
    // nothing above or below them (an accelerator's mark, or the foot of a
    // descender), as their first and last columns counted from where item
    // texts start.
    std::vector<std::pair<int, int>> Underlines(size_t item) const;

private:
    // Each item row's colour in the gap before its text; none when the
    // picture does not reach that far.
    std::vector<COLORREF> RowGaps() const;
    bool RowsShowALightBackground() const;

    std::vector<COLORREF> m_pixels;
    POINT m_origin{0, 0};
    int m_width = 0;
    std::vector<int> m_tops;
    int m_itemHeight = 0;
    bool m_fits = false;
    bool m_onTop = false;
};

// Whether the open menu's items show enabled (dark) as expected, once it has
// painted them so: the first items of the layout, in order, and the items
// fill the menu as the layout says, with no window over the menu.
::testing::AssertionResult MenuShows(HWND menu, const std::string& layout, const std::vector<bool>& enabled);

// The width of a menu entry's text in the menu font, "&" marks not counted.
int MenuTextWidth(const std::string& text);

// Whether the item shows the entry's text with its accelerator mark where the
// text has its "&" (or with none, when it has none): the letter the drawn
// mark lies under, found from the text's measure. The text is the item's
// whole text, or its start when a hotkey's text follows it.
::testing::AssertionResult MarksAccelerator(const MenuPicture& picture, size_t item, const std::string& text);

// Whether the open menu shows each item's text dark with its mark as
// MarksAccelerator judges it, once the screen shows the whole menu so: a
// picture read while the menu is still coming onto the screen, or while
// another window lies over it, shows no mark.
::testing::AssertionResult ShowsAccelerators(HWND menu, const std::string& layout,
                                             const std::vector<std::pair<size_t, std::string>>& items);

// A text drawn in a menu ends about where the text measures in the menu font
// (the program's drawing comes out a few hundredths narrower than the
// test's measure); one that is missing, or another text, ends far off.
::testing::AssertionResult DrawnAsWideAs(int drawnEnd, const std::string& text);
