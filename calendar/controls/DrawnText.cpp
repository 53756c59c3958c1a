#include "calendar/controls/DrawnText.h"

#include "calendar/controls/DrawnControl.h"
#include "foundation/win/GdiObjects.h"

void PaintDrawnText(const DRAWITEMSTRUCT& item, const DrawnTextLook& look,
                    const std::function<void(HDC, const RECT&)>& decorate)
{
    CItemCanvas canvas(item);
    if (!canvas.IsReady())
        return;
    HDC dc = canvas.GetDC();
    PaintControlBackground(look.control, look.parent, dc, look.transparent, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    HFONT source = look.font ? look.font : reinterpret_cast<HFONT>(SendMessageA(look.control, WM_GETFONT, 0, 0));
    // A font of the paint's own, deleted with it.
    CGdiFont font(LogFontOf(source));
    CObjectSelector fontSelected(dc, font.GetHFONT());
    SetTextColor(dc, look.color);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (look.leftAligned) {
        format = DT_VCENTER | DT_SINGLELINE;
        if (FontPointSize(font.GetHFONT()) >= 22)
            format |= DT_WORD_ELLIPSIS;
    }
    RECT rect = canvas.GetRect();
    DrawTextA(dc, look.text ? look.text : "", -1, &rect, format);
    fontSelected.Restore();
    if (decorate)
        decorate(dc, canvas.GetRect());
}
