// Drawing the items of an owner-drawn menu in the classic and the XP look.
#include <cstring>

#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/CoolMenu.h"
#include "foundation/win/FavouritesImageList.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/GdiObjects.h"

namespace {
const UINT kHeadingIds[] = {4035, 4316, 4329};
const COLORREF kYellow = 0x00FFFF;

bool IsHeading(UINT id)
{
    for (UINT heading : kHeadingIds) {
        if (heading == id)
            return true;
    }
    return false;
}

void FillRect(HDC dc, const RECT& rect, COLORREF colour)
{
    ::FillRect(dc, &rect, BrushCache().GetBrush(colour).brush);
}

// A rectangle framed with a one-pixel pen and filled with a cached brush.
void FramedRect(HDC dc, const RECT& rect, COLORREF pen, COLORREF fill)
{
    HPEN framePen = CreatePen(PS_SOLID, 1, pen);
    HGDIOBJ previousPen = SelectObject(dc, framePen);
    HGDIOBJ previousBrush = SelectObject(dc, BrushCache().GetBrush(fill).brush);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    DeleteObject(framePen);
}

void HorizontalGradient(HDC dc, const RECT& rect, COLORREF left, COLORREF right)
{
    GradientFillFunction fill = GetGradientFillFunction();
    if (!fill) {
        FillRect(dc, rect, GetSysColor(COLOR_ACTIVEBORDER));
        return;
    }
    TRIVERTEX vertices[2] = {
        {rect.left, rect.top, static_cast<COLOR16>(GetRValue(left) << 8), static_cast<COLOR16>(GetGValue(left) << 8),
         static_cast<COLOR16>(GetBValue(left) << 8), 0},
        {rect.right, rect.bottom, static_cast<COLOR16>(GetRValue(right) << 8),
         static_cast<COLOR16>(GetGValue(right) << 8), static_cast<COLOR16>(GetBValue(right) << 8), 0}};
    GRADIENT_RECT span = {0, 1};
    fill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_H);
}
}

void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom)
{
    GradientFillFunction fill = GetGradientFillFunction();
    if (!fill) {
        Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
        return;
    }
    TRIVERTEX vertices[2] = {
        {rect.left, rect.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
         static_cast<COLOR16>(GetBValue(top) << 8), 0},
        {rect.right, rect.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
         static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8), 0}};
    GRADIENT_RECT span = {0, 1};
    fill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_V);
}

CCoolMenu::Colours CCoolMenu::ChooseColours(bool xpLook) const
{
    const CoolMenuLook& look = GetCoolMenuLook();
    Colours colours{};
    colours.menuText = GetSysColor(COLOR_MENUTEXT);
    colours.grayedText = GetSysColor(COLOR_GRAYTEXT);
    if (!xpLook) {
        colours.selectedText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        colours.selectionFill = look.xpScheme == 3 ? 0xCAC7C7 : GetSysColor(COLOR_HIGHLIGHT);
        colours.background = GetSysColor(COLOR_MENU);
        return colours;
    }
    colours.selectedText = 0;
    static const COLORREF kSchemeFill[] = {0xD2BDB6, 0xC7E8FE, 0xC2EEFF, 0xACEBFF};
    colours.selectionFill = look.vistaTheme ? 0xACEBFF : kSchemeFill[look.xpScheme & 3];
    if (look.vistaTheme)
        colours.background = 0xFAFAFA;
    else if (look.xpScheme == 0)
        colours.background = 0xF7F8F9;
    else
        colours.background = GetSysColor(COLOR_MENU);
    return colours;
}

void CCoolMenu::DrawImageColumn(HDC dc, const RECT& item, int textX, bool xpLook) const
{
    const CoolMenuLook& look = GetCoolMenuLook();
    RECT column = {item.left, item.top, textX - 3, item.top + m_itemHeight};
    if (!xpLook) {
        FillRect(dc, column, GetSysColor(COLOR_BTNFACE));
        return;
    }
    if (look.vistaTheme) {
        FillRect(dc, column, 0xEEEEE9);
        DrawSolidLine(dc, column.right - 1, column.top, column.right - 1, column.bottom, 0xC5C5C5);
        return;
    }
    static const COLORREF kLight[] = {0xF4F3F2, 0xFDF2EC, 0xF1F4F4, 0xF4F3F2};
    COLORREF dark[] = {GetSysColor(COLOR_ACTIVEBORDER), 0xF5C2A3, 0x92C7B8, 0xCFBCBC};
    if (column.top > 0)
        --column.top;
    HorizontalGradient(dc, column, kLight[look.xpScheme & 3], dark[look.xpScheme & 3]);
}

void CCoolMenu::DrawSeparator(HDC dc, const RECT& item, int textX, bool xpLook, const Colours& colours) const
{
    const CoolMenuLook& look = GetCoolMenuLook();
    RECT rest = {textX, item.top, item.right, item.bottom};
    FillRect(dc, rest, colours.background);
    COLORREF lineColour = colours.grayedText;
    if (xpLook) {
        static const COLORREF kSchemeLine[] = {0, 0xCB8C6A, 0x588060, 0x8F6D6E};
        if (look.vistaTheme)
            lineColour = 0xC5C5C5;
        else if (look.xpScheme > 0)
            lineColour = kSchemeLine[look.xpScheme & 3];
    }
    int middle = (item.top + item.bottom) / 2;
    DrawSolidLine(dc, textX + 2, middle, item.right, middle, lineColour);
    if (look.menuLook == 1 && look.xpScheme == 0 && !look.vistaTheme)
        DrawSolidLine(dc, textX + 2, middle + 1, item.right, middle + 1, 0xFFFFFF);
}

void CCoolMenu::DrawCheckFrame(HDC dc, const RECT& item, bool grayed, bool selected, bool xpLook,
                               const Colours& colours) const
{
    const CoolMenuLook& look = GetCoolMenuLook();
    COLORREF pen = colours.selectionFill;
    COLORREF fill = 0xE5E5E5;
    if (grayed) {
        pen = GetSysColor(COLOR_BTNSHADOW);
        fill = 0xECECEC;
    } else if (xpLook && look.vistaTheme) {
        pen = 0x3695F2;
        fill = 0x95E3FF;
    } else if (xpLook) {
        pen = GetSysColor(COLOR_ACTIVECAPTION);
        fill = 0xE6DCD7;
    }
    bool xpSelected = xpLook && selected;
    int height = item.bottom - item.top;
    RECT frame;
    frame.left = item.left + (xpSelected ? 1 : 2);
    frame.top = item.top + (xpSelected ? 0 : 1);
    frame.right = frame.left + height - (look.menuLook == 1 || look.menuLook == 2 ? 1 : 0);
    frame.bottom = item.bottom - (selected && look.menuLook == 1 ? 3 : 2);
    FramedRect(dc, frame, pen, fill);
}

void CCoolMenu::DrawSelection(HDC dc, const RECT& item, const CCoolMenuItem& entry, bool xpLook,
                              const Colours& colours) const
{
    if (IsHeading(entry.id))
        return;
    const CoolMenuLook& look = GetCoolMenuLook();
    if (!xpLook) {
        FramedRect(dc, item, colours.selectionFill, colours.selectionFill);
        return;
    }
    if (!look.vistaTheme) {
        RECT raised = item;
        if (raised.top > 0)
            --raised.top;
        FramedRect(dc, raised, GetSysColor(COLOR_ACTIVECAPTION), colours.selectionFill);
        return;
    }
    int middle = (item.top + item.bottom) / 2;
    RECT upper = {item.left, item.top, item.right, middle};
    RECT lower = {item.left, middle, item.right, item.bottom};
    FillVerticalGradient(dc, upper, 0xEBFDFF, 0xAEEBFF);
    FillVerticalGradient(dc, lower, 0x69D6FF, 0x9AE5FF);
    HPEN pen = CreatePen(PS_SOLID, 1, 0x99CEDB);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, item.left, item.top, item.right, item.bottom);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

void CCoolMenu::DrawImage(HDC dc, const RECT& item, const CCoolMenuItem& entry, bool grayed, bool selected,
                          bool checked, bool xpLook) const
{
    int index = grayed ? entry.disabledImage : entry.image;
    if (entry.image == -1 || index == -1 || !m_images || !m_images->GetHandle() || (entry.check && !checked))
        return;
    int x = item.left + m_imageMargin;
    int y = item.top + m_imageTop;
    if (xpLook && selected && !grayed) {
        HICON icon = m_images->GetIcon(index, ILD_TRANSPARENT);
        HBRUSH shadow = CreateSolidBrush(0xBA857F);
        DrawStateA(dc, shadow, nullptr, reinterpret_cast<LPARAM>(icon), 0, x + 1, y + 1, m_imageWidth,
                   m_imageHeight, DST_ICON | DSS_MONO);
        DeleteObject(shadow);
        DrawIconEx(dc, x - 1, y - 1, icon, m_imageWidth, m_imageHeight, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    } else {
        m_images->Draw(dc, index, x, y);
    }
    if (entry.recolour == kNoRecolour)
        return;
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            if (GetPixel(dc, x + column, y + row) == kYellow)
                SetPixel(dc, x + column, y + row, entry.recolour);
        }
    }
}

void CCoolMenu::DrawItem(const DRAWITEMSTRUCT* draw)
{
    auto* entry = reinterpret_cast<const CCoolMenuItem*>(draw->itemData);
    if (!entry)
        return;
    const bool xpLook = GetCoolMenuLook().menuLook == 2;
    const Colours colours = ChooseColours(xpLook);
    HDC dc = draw->hDC;
    RECT item = draw->rcItem;
    m_itemHeight = item.bottom - item.top;
    const bool grayed = (draw->itemState & ODS_GRAYED) != 0;
    const bool selected = (draw->itemState & ODS_SELECTED) != 0;
    const bool checked = (draw->itemState & ODS_CHECKED) != 0;
    const int textX = item.left + 2 * m_imageMargin + m_imageWidth + m_gap;

    RECT background = item;
    if (background.top > 0 && (xpLook || (entry->check && checked && !grayed)))
        --background.top;
    FillRect(dc, background, colours.background);
    DrawImageColumn(dc, item, textX, xpLook);
    if (std::strcmp(entry->text, kSeparatorText) == 0) {
        DrawSeparator(dc, item, textX, xpLook, colours);
        return;
    }

    COLORREF textColour = grayed ? colours.grayedText : colours.menuText;
    if (selected) {
        if (!grayed) {
            textColour = colours.selectedText;
            DrawSelection(dc, item, *entry, xpLook, colours);
        }
        if (entry->check && checked && (grayed || GetCoolMenuLook().menuLook == 1))
            DrawCheckFrame(dc, item, grayed, selected, xpLook, colours);
    } else if (entry->check && checked) {
        DrawCheckFrame(dc, item, grayed, selected, xpLook, colours);
    }

    HGDIOBJ previousFont = entry->font ? SelectObject(dc, entry->font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour);
    RECT textRect = {textX, item.top + entry->textOffset, item.right, item.bottom};
    DrawTextA(dc, entry->text, -1, &textRect, DT_SINGLELINE);
    if (entry->shortcut[0]) {
        RECT shortcutRect = {item.right - m_widestShortcut - 15, item.top + entry->textOffset, item.right,
                             item.bottom};
        DrawTextA(dc, entry->shortcut, -1, &shortcutRect, DT_SINGLELINE);
    }
    if (previousFont)
        SelectObject(dc, previousFont);
    DrawImage(dc, item, *entry, grayed, selected, checked, xpLook);
}
