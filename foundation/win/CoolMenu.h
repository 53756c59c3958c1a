#pragma once

#include <windows.h>

class CFavouritesImageList;

// Owner-drawn popup menus: an image column, bold or normal item fonts, shortcut
// texts aligned right, column breaks, heading items, and two looks (classic in
// system colours, or the XP look). Every popup menu of the program is shown
// through one, which also decides which chosen commands return to the caller
// and which go to the owner window as WM_COMMAND.

// What every draw reads: the look (2 the XP look; 1 also etches separators),
// the XP colour scheme (0 none, 1 blue, 2 olive, 3 silver), the Vista theme,
// and the two menu fonts the program made from the system's menu font.
struct CoolMenuLook {
    int menuLook = 1;
    int xpScheme = 0;
    bool vistaTheme = false;
    HFONT normalFont = nullptr;
    HFONT boldFont = nullptr;
};
CoolMenuLook& GetCoolMenuLook();

// The command id that marks a separator, and the text that stands for one.
const UINT kSeparatorItemId = 9889;
extern const char kSeparatorText[];
// The id that, given to InitMenuStructures, makes the item a separator.
const UINT kMakeSeparatorId = 30;
// Ids 31 to 56 make the popup at position id - 31 owner-drawn.
const UINT kFirstPopupId = 31;
const UINT kLastPopupId = 56;
const COLORREF kNoRecolour = 8989;

struct CCoolMenuItem {
    HFONT font = nullptr;
    char text[56] = "";
    char shortcut[26] = "";
    UINT id = 0;
    DWORD check = 0;
    int image = -1;
    int disabledImage = -1;
    COLORREF recolour = kNoRecolour;
    int textOffset = 0;
};

class CCoolMenu {
public:
    CCoolMenu() = default;
    ~CCoolMenu() { FreeItems(); }
    CCoolMenu(const CCoolMenu&) = delete;
    CCoolMenu& operator=(const CCoolMenu&) = delete;

    void Attach(HINSTANCE instance, HMENU menu, CFavouritesImageList* images);
    void SetMenu(HMENU menu) { m_menu = menu; }
    // Makes room for count items (the menu's item count); below 1 throws.
    void SetSize(int count);
    // Fills item index and makes the menu item owner-drawn; the fourth
    // argument is the image, or for a separator the item's position.
    void InitMenuStructures(int index, const char* text, UINT id, int imageOrPosition, int disabledImage,
                            DWORD check, COLORREF recolour, bool bold);
    // Fills item index as the popup at that position of the menu (any
    // position, unlike the popup ids of InitMenuStructures) and makes it
    // owner-drawn.
    void InitPopupItem(int index, int position, const char* text);
    // Whether the item data of a WM_MEASUREITEM is one of this menu's items.
    bool HoldsItem(ULONG_PTR itemData) const;
    // Attaches a loaded menu and makes every item owner-drawn with its own
    // text, separators as separators; the images are those the items are
    // given afterwards, if any.
    void AttachPlainItems(HINSTANCE instance, HMENU menu, CFavouritesImageList* images = nullptr);
    // Shows the menu. The commands that open another menu or end the program
    // come back; any other choice is sent to the owner as WM_COMMAND and 0 is
    // returned, as when nothing is chosen.
    UINT TrackPopup(UINT flags, int x, int y, HWND owner);
    void MeasureItem(MEASUREITEMSTRUCT* measure);
    void DrawItem(const DRAWITEMSTRUCT* draw);
    void Detach();
    void FreeItems();

    HMENU GetMenu() const { return m_menu; }
    bool IsTracking() const { return m_tracking; }
    bool IsBuilt() const { return m_built; }
    int GetCount() const { return m_count; }
    const CCoolMenuItem* GetItem(int index) const;

private:
    struct Colours {
        COLORREF selectedText, menuText, selectionFill, background, grayedText;
    };
    Colours ChooseColours(bool xpLook) const;
    void DrawImageColumn(HDC dc, const RECT& item, int textX, bool xpLook) const;
    void DrawSeparator(HDC dc, const RECT& item, int textX, bool xpLook, const Colours& colours) const;
    void DrawSelection(HDC dc, const RECT& item, const CCoolMenuItem& entry, bool xpLook,
                       const Colours& colours) const;
    void DrawCheckFrame(HDC dc, const RECT& item, bool grayed, bool selected, bool xpLook,
                        const Colours& colours) const;
    void DrawImage(HDC dc, const RECT& item, const CCoolMenuItem& entry, bool grayed, bool selected,
                   bool checked, bool xpLook) const;
    // The item owner-drawn as the popup of that position, keeping its state.
    void MakePopupOwnerDrawn(UINT position, CCoolMenuItem& item);

    int m_imageWidth = 16;
    int m_imageHeight = 16;
    int m_itemHeight = 0;
    int m_gap = 5;
    int m_imageMargin = 2;
    int m_imageTop = 0;
    CCoolMenuItem* m_items = nullptr;
    int m_count = 0;
    CFavouritesImageList* m_images = nullptr;
    HMENU m_menu = nullptr;
    HINSTANCE m_instance = nullptr;
    HWND m_owner = nullptr;
    bool m_tracking = false;
    bool m_built = false;
    int m_widestShortcut = 0;
    int m_widestText = 0;
};

// The height MeasureItem gives an item in the menus' normal font.
int CoolMenuItemHeight();
// The height it gives a separator.
const int kCoolMenuSeparatorHeight = 10;

// A vertical gradient over the rectangle; without GradientFill, a rectangle in
// the selected pen and brush.
void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
