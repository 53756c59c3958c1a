#include "noteprops/HideNoteButton.h"

#include "foundation/win/GdiCaches.h"
#include "foundation/win/VisualStyles.h"

namespace {
// The theme's push button and its states.
const int kPushButtonPart = 1;
const int kStateNormal = 1;
const int kStateHot = 2;
const int kStatePressed = 3;
const int kStateDisabled = 4;

// The background of the whole button; false when no visual style drew it.
bool DrawThemedBackground(const DRAWITEMSTRUCT& item, bool hover)
{
    ThemeFunctions theme;
    if (!LoadThemeFunctions(theme))
        return false;
    HANDLE data = theme.open(item.hwndItem, L"Button");
    if (!data)
        return false;
    int state = kStateNormal;
    if (item.itemState & ODS_DISABLED)
        state = kStateDisabled;
    else if (item.itemState & ODS_SELECTED)
        state = kStatePressed;
    else if (hover)
        state = kStateHot;
    theme.draw(data, item.hDC, kPushButtonPart, state, &item.rcItem, nullptr);
    theme.close(data);
    return true;
}

void DrawClassicBackground(const DRAWITEMSTRUCT& item, bool hover)
{
    RECT frame = item.rcItem;
    UINT state = DFCS_BUTTONPUSH;
    if (item.itemState & ODS_SELECTED)
        state |= DFCS_PUSHED;
    if (hover && !(item.itemState & ODS_SELECTED))
        state |= DFCS_HOT;
    DrawFrameControl(item.hDC, &frame, DFC_BUTTON, state);
}

// A separator line and the triangle, in rows of 7, 5, 3 and 1 pixels.
void DrawMenuPart(HDC dc, const RECT& button, bool pressed, COLORREF color)
{
    const int left = button.right - kHideNoteMenuPartWidth;
    const int offset = pressed ? 1 : 0;
    RECT shadow = {left, button.top + 4, left + 1, button.bottom - 4};
    FillRect(dc, &shadow, BrushCache().GetBrush(GetSysColor(COLOR_BTNSHADOW)).brush);
    RECT light = {left + 1, shadow.top, left + 2, shadow.bottom};
    FillRect(dc, &light, BrushCache().GetBrush(GetSysColor(COLOR_BTNHIGHLIGHT)).brush);
    const int centreX = left + kHideNoteMenuPartWidth / 2 + offset;
    const int top = (button.top + button.bottom) / 2 - 2 + offset;
    for (int row = 0; row < 4; ++row) {
        RECT line = {centreX - 3 + row, top + row, centreX + 4 - row, top + row + 1};
        FillRect(dc, &line, BrushCache().GetBrush(color).brush);
    }
}
}

bool IsOnHideNoteMenuPart(HWND button, int x)
{
    RECT client{};
    GetClientRect(button, &client);
    return x >= client.right - kHideNoteMenuPartWidth;
}

void DrawHideNoteButton(const DRAWITEMSTRUCT& item, bool hover)
{
    if (!DrawThemedBackground(item, hover))
        DrawClassicBackground(item, hover);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const COLORREF color = GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    RECT text = item.rcItem;
    text.right -= kHideNoteMenuPartWidth;
    if (pressed)
        OffsetRect(&text, 1, 1);
    const int mode = SetBkMode(item.hDC, TRANSPARENT);
    const COLORREF previous = SetTextColor(item.hDC, color);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL)
        format |= DT_HIDEPREFIX;
    char label[40] = "";
    GetWindowTextA(item.hwndItem, label, sizeof label);
    DrawTextA(item.hDC, label, -1, &text, format);
    SetTextColor(item.hDC, previous);
    SetBkMode(item.hDC, mode);
    DrawMenuPart(item.hDC, item.rcItem, pressed, color);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(item.hDC, &focus);
    }
}
