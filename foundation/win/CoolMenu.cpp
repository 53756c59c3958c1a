#include "foundation/win/CoolMenu.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

const char kSeparatorText[] = "----------------------------------";

namespace {
// Commands that open the next menu or end the program: the caller acts on them.
const UINT kReturnedCommands[] = {4029, 4123, 4469, 4138, 633, 4139, 634, 4007};
// Items that start a new column with a dividing bar: the Show notes
// submenu's hidden notes. (The Restore submenu makes its own columns fit the
// screen.)
const UINT kColumnBreakIds[] = {3433, 3473, 3513, 3553, 3593, 3633};

bool Contains(const UINT* ids, size_t count, UINT id)
{
    for (size_t i = 0; i < count; ++i) {
        if (ids[i] == id)
            return true;
    }
    return false;
}

void CopyCut(char* target, size_t size, const char* text, size_t length)
{
    size_t n = length < size - 1 ? length : size - 1;
    std::memcpy(target, text, n);
    target[n] = 0;
}

SIZE MeasureText(HDC dc, const char* text)
{
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    return size;
}
}

CoolMenuLook& GetCoolMenuLook()
{
    static CoolMenuLook look;
    return look;
}

void CCoolMenu::Attach(HINSTANCE instance, HMENU menu, CFavouritesImageList* images)
{
    m_instance = instance;
    m_menu = menu;
    m_images = images;
    m_built = false;
}

void CCoolMenu::AttachPlainItems(HINSTANCE instance, HMENU menu, CFavouritesImageList* images)
{
    int count = GetMenuItemCount(menu);
    Attach(instance, menu, images);
    SetSize(count);
    for (int position = 0; position < count; ++position) {
        char text[128] = "";
        GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        if (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR)
            InitMenuStructures(position, "", kMakeSeparatorId, position, -1, 0, kNoRecolour, false);
        else
            InitMenuStructures(position, text, GetMenuItemID(menu, position), -1, -1, 0, kNoRecolour, false);
    }
}

void CCoolMenu::SetSize(int count)
{
    if (count < 1) {
        AppendTextToFile("SetSize negativ !!! sau zero\n", DataFilePath("hide.txt").c_str());
        throw CGenericException("CCoolMenu::SetSize index out of range");
    }
    RunOperation("CCoolMenu::SetSize failed", [&] {
        FreeItems();
        m_items = new CCoolMenuItem[count];
        m_count = count;
        m_built = true;
    });
}

void CCoolMenu::FreeItems()
{
    if (m_count < 0) {
        char text[80];
        std::snprintf(text, sizeof text, "CCoolMenu::negative array size?? (%d)\r\n", m_count);
        AppendTextToFile(text, DataFilePath(DataName::kErrorLog).c_str());
        return;
    }
    delete[] m_items;
    m_items = nullptr;
    m_count = 0;
    m_widestShortcut = 0;
    m_widestText = 0;
    m_built = false;
    m_tracking = false;
}

void CCoolMenu::Detach()
{
    m_menu = nullptr;
    FreeItems();
}

const CCoolMenuItem* CCoolMenu::GetItem(int index) const
{
    return index >= 0 && index < m_count ? &m_items[index] : nullptr;
}

void CCoolMenu::InitMenuStructures(int index, const char* text, UINT id, int imageOrPosition, int disabledImage,
                                   DWORD check, COLORREF recolour, bool bold)
{
    if (index < 0 || index >= m_count) {
        ShowErrorMessage(m_owner, "InitMenuStructures::Index out of bounds", ProgramTitle);
        return;
    }
    CCoolMenuItem& item = m_items[index];
    const CoolMenuLook& look = GetCoolMenuLook();
    item.font = bold ? look.boldFont : look.normalFont;
    item.check = check;
    item.image = imageOrPosition;
    item.disabledImage = imageOrPosition == -1 ? -1 : disabledImage;
    item.recolour = recolour;
    if (check) {
        m_imageWidth = 16;
        m_imageHeight = 16;
    }
    const char* source = text ? text : "";
    if (const char* tab = std::strchr(source, '\t')) {
        CopyCut(item.text, sizeof item.text, source, static_cast<size_t>(tab - source));
        CopyCut(item.shortcut, sizeof item.shortcut, tab + 1, std::strlen(tab + 1));
    } else {
        CopyCut(item.text, sizeof item.text, source, std::strlen(source));
        item.shortcut[0] = 0;
    }
    item.id = id;

    LPCSTR data = reinterpret_cast<LPCSTR>(&item);
    if (id == kMakeSeparatorId) {
        std::snprintf(item.text, sizeof item.text, "%s", kSeparatorText);
        item.image = -1;
        item.disabledImage = -1;
        item.id = kSeparatorItemId;
        ModifyMenuA(m_menu, static_cast<UINT>(imageOrPosition), MF_BYPOSITION | MF_OWNERDRAW | MF_SEPARATOR, 0,
                    data);
    } else if (id >= kFirstPopupId && id <= kLastPopupId) {
        MakePopupOwnerDrawn(id - kFirstPopupId, item);
    } else {
        // Grayed and checked states set before stay as they were.
        UINT state = GetMenuState(m_menu, id, MF_BYCOMMAND);
        UINT keep = state == static_cast<UINT>(-1) ? 0 : state & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        UINT breakFlag = Contains(kColumnBreakIds, sizeof kColumnBreakIds / sizeof kColumnBreakIds[0], id)
                             ? MF_MENUBARBREAK
                             : 0;
        ModifyMenuA(m_menu, id, MF_BYCOMMAND | MF_OWNERDRAW | breakFlag | keep, id, data);
    }
}

void CCoolMenu::MakePopupOwnerDrawn(UINT position, CCoolMenuItem& item)
{
    HMENU submenu = GetSubMenu(m_menu, static_cast<int>(position));
    UINT state = GetMenuState(m_menu, position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED);
    ModifyMenuA(m_menu, position, MF_BYPOSITION | MF_POPUP | MF_OWNERDRAW | state,
                reinterpret_cast<UINT_PTR>(submenu), reinterpret_cast<LPCSTR>(&item));
}

void CCoolMenu::InitPopupItem(int index, int position, const char* text)
{
    if (index < 0 || index >= m_count || position < 0) {
        ShowErrorMessage(m_owner, "InitPopupItem::Index out of bounds", ProgramTitle);
        return;
    }
    CCoolMenuItem& item = m_items[index];
    item = CCoolMenuItem();
    item.font = GetCoolMenuLook().normalFont;
    CopyCut(item.text, sizeof item.text, text ? text : "", std::strlen(text ? text : ""));
    item.id = kFirstPopupId;
    MakePopupOwnerDrawn(static_cast<UINT>(position), item);
}

bool CCoolMenu::HoldsItem(ULONG_PTR itemData) const
{
    const auto* item = reinterpret_cast<const CCoolMenuItem*>(itemData);
    return m_items && item >= m_items && item < m_items + m_count;
}

int CoolMenuItemHeight()
{
    HDC dc = GetDC(nullptr);
    HFONT font = GetCoolMenuLook().normalFont;
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    const SIZE text = MeasureText(dc, "Ag");
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return (text.cy > 16 ? text.cy : 16) + 3;
}

UINT CCoolMenu::TrackPopup(UINT flags, int x, int y, HWND owner)
{
    m_owner = owner;
    m_tracking = true;
    UINT chosen = static_cast<UINT>(TrackPopupMenu(m_menu, flags, x, y, 0, owner, nullptr));
    if (Contains(kReturnedCommands, sizeof kReturnedCommands / sizeof kReturnedCommands[0], chosen))
        return chosen;
    m_tracking = false;
    if (chosen)
        SendMessageA(owner, WM_COMMAND, chosen, 0);
    return 0;
}

void CCoolMenu::MeasureItem(MEASUREITEMSTRUCT* measure)
{
    auto* item = reinterpret_cast<CCoolMenuItem*>(measure->itemData);
    if (!item)
        return;
    if (std::strcmp(item->text, kSeparatorText) == 0) {
        measure->itemWidth = 100;
        measure->itemHeight = kCoolMenuSeparatorHeight;
        return;
    }
    HDC dc = GetDC(m_owner);
    HGDIOBJ previous = item->font ? SelectObject(dc, item->font) : nullptr;
    SIZE text = MeasureText(dc, item->text);
    SIZE shortcut = MeasureText(dc, item->shortcut);
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(m_owner, dc);

    if (text.cx > m_widestText)
        m_widestText = text.cx;
    if (shortcut.cx > m_widestShortcut)
        m_widestShortcut = shortcut.cx;
    int height = (text.cy > 16 ? text.cy : 16) + 3;
    measure->itemWidth = static_cast<UINT>(m_widestText + m_widestShortcut + 30);
    measure->itemHeight = static_cast<UINT>(height);

    m_imageWidth = 16;
    m_imageHeight = 16;
    m_imageMargin = 2;
    m_gap = 5;
    m_imageTop = (height - 16) / 2;
    int offset = (height - text.cy) / 2;
    item->textOffset = offset - m_imageTop >= 2 ? m_imageTop : offset;
}
