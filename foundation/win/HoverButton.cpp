#include "foundation/win/HoverButton.h"

#include <cstring>

#include "foundation/CallbackGuard.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/EmbossedBitmap.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/LinkStatic.h"
#include "foundation/win/Subclassing.h"
#include "foundation/win/Tooltips.h"
#include "foundation/win/TransparentBitmap.h"
#include "foundation/win/WindowHelpers.h"

namespace {
const char kStateProperty[] = "QnHoverButton";

SIZE HoverBitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

void PaintBackground(const CHoverButton& state, HDC dc)
{
    RECT client;
    GetClientRect(state.button, &client);
    if (state.parentPaintsBackground) {
        HoverButtonBackground background{client, {}, dc};
        GetClientRectInWindow(state.button, state.parent, &background.inParent);
        SendMessageA(state.parent, kMsgPaintButtonBackground, 0, reinterpret_cast<LPARAM>(&background));
    } else {
        FillRect(dc, &client, BrushCache().GetBrush(GetSysColor(COLOR_BTNFACE)).brush);
    }
}

// The built-in faces are drawn grayed by the system rather than embossed.
bool IsBuiltInFace(const char* name)
{
    const char* file = std::strrchr(name, '\\');
    file = file ? file + 1 : name;
    return lstrcmpiA(file, "user.bmp") == 0 || lstrcmpiA(file, "userxp.bmp") == 0;
}

void DrawPicture(const CHoverButton& state, HDC dc, int width, int height, bool grayed)
{
    SIZE size = HoverBitmapSize(state.picture);
    if (size.cx <= width && size.cy <= height) {
        int x = (width - size.cx) / 2;
        int y = (height - size.cy) / 2;
        if (!grayed) {
            DrawTransparentBitmap(dc, state.picture, x, y, kPictureTransparentColor);
        } else if (IsBuiltInFace(state.pictureName)) {
            HICON face = ConvertBitmapToIcon(state.picture, kPictureTransparentColor);
            if (face) {
                DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(face), 0, x, y, size.cx, size.cy,
                           DST_ICON | DSS_DISABLED);
                DestroyIcon(face);
            }
        } else {
            DrawEmbossedBitmap(dc, x, y, size.cx, size.cy, state.picture, 0, 0);
        }
        return;
    }
    // A larger picture is stretched to the button, its see-through pixels in the
    // button face colour first.
    CBitmapHolder copy(CopyBitmap(state.picture));
    if (!copy.Get())
        return;
    ReplaceBitmapColor(copy.Get(), kPictureTransparentColor, GetSysColor(COLOR_BTNFACE));
    CCompatibleDC source(dc);
    CObjectSelector sourceSelected(source.GetHandle(), copy.Get());
    int oldMode = SetStretchBltMode(dc, HALFTONE);
    if (!grayed) {
        StretchBlt(dc, 0, 0, width, height, source.GetHandle(), 0, 0, size.cx, size.cy, SRCCOPY);
    } else {
        CBitmapHolder stretched(CreateCompatibleBitmap(dc, width, height));
        CCompatibleDC target(dc);
        CObjectSelector targetSelected(target.GetHandle(), stretched.Get());
        SetStretchBltMode(target.GetHandle(), HALFTONE);
        StretchBlt(target.GetHandle(), 0, 0, width, height, source.GetHandle(), 0, 0, size.cx, size.cy, SRCCOPY);
        targetSelected.Restore();
        DrawEmbossedBitmap(dc, 0, 0, width, height, stretched.Get(), 0, 0);
    }
    SetStretchBltMode(dc, oldMode);
}

LRESULT HoverButtonMessage(CHoverButton& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND button = state.button;
    WNDPROC previous = state.previous;
    switch (message) {
    case WM_MOUSEMOVE:
        if (!state.hovering) {
            state.hovering = true;
            InvalidateRect(button, nullptr, FALSE);
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, button, 0};
            TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSELEAVE:
        state.hovering = false;
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        InvalidateRect(button, nullptr, FALSE);
        if (state.tooltipsOn)
            RelayMouseToTooltip(state.tooltip);
        break;
    case WM_SETCURSOR:
        if (state.hovering) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONUP:
        if (state.tooltipsOn)
            RelayMouseToTooltip(state.tooltip);
        break;
    case WM_ERASEBKGND:
        PaintBackground(state, reinterpret_cast<HDC>(wParam));
        return 1;
    case kMsgRepaintButtonBackground:
        if (wParam == 0 && lParam == 20) {
            HDC dc = GetDC(button);
            PaintBackground(state, dc);
            ReleaseDC(button, dc);
            return 1;
        }
        break;
    case WM_SETFOCUS:
        state.focused = true;
        break;
    case WM_KILLFOCUS:
        InvalidateRect(button, nullptr, FALSE);
        state.focused = false;
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_LEFT || wParam == VK_UP || wParam == VK_RIGHT || wParam == VK_DOWN) {
            PostNextDialogControl(state.parent, wParam == VK_LEFT || wParam == VK_UP);
            return 0;
        }
        if (wParam != VK_RETURN)
            return SendMessageA(state.parent, message, wParam, lParam);
        break;
    case WM_SYSKEYDOWN:
        return SendMessageA(state.parent, message, wParam, lParam);
    case WM_CHAR:
        if (wParam == '\t') {
            PostNextDialogControl(state.parent, GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
        if (wParam == '\r')
            return 0;
        if (wParam == VK_ESCAPE) {
            PostDialogCancel(state.parent);
            return 0;
        }
        break;
    case WM_DESTROY: {
        if (state.tooltip && IsWindow(state.tooltip))
            DestroyWindow(state.tooltip);
        LRESULT result = CallWindowProcA(previous, button, message, wParam, lParam);
        RestoreWindowProc(button, kStateProperty, previous);
        state.icon.Free();
        state = CHoverButton();
        return result;
    }
    default:
        break;
    }
    return CallWindowProcA(previous, button, message, wParam, lParam);
}

LRESULT CALLBACK HoverButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = static_cast<CHoverButton*>(GetPropA(window, kStateProperty));
    if (!state)
        return DefWindowProcA(window, message, wParam, lParam);
    return GuardCallback<LRESULT>(0, [&] { return HoverButtonMessage(*state, message, wParam, lParam); });
}
}

bool CLoadedIcon::Load(HINSTANCE module, int id)
{
    Free();
    icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (!icon)
        return false;
    GetIconInfo(icon, &info);
    return true;
}

void CLoadedIcon::Free()
{
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (icon)
        DestroyIcon(icon);
    icon = nullptr;
    info = ICONINFO{};
}

void SubclassHoverButton(CHoverButton& state, HWND parent, HWND button)
{
    state.parent = parent;
    state.button = button;
    state.previous = SubclassWindow(button, kStateProperty, &state, &HoverButtonProc);
}

void DrawHoverButton(CHoverButton& state, const DRAWITEMSTRUCT& item)
{
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    CMemoryDC memory(item.hDC, item.rcItem);
    HDC dc = memory.GetHandle();
    PaintBackground(state, dc);
    SetBkMode(dc, TRANSPARENT);
    const bool grayed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    if (state.icon.icon) {
        SIZE size = HoverBitmapSize(state.icon.info.hbmColor ? state.icon.info.hbmColor : state.icon.info.hbmMask);
        DrawIconEx(dc, (width - size.cx) / 2, (height - size.cy) / 2, state.icon.icon, 0, 0, 0, nullptr, DI_NORMAL);
    } else if (state.smallBitmap) {
        SIZE size = HoverBitmapSize(state.smallBitmap);
        int x = (width - size.cx) / 2;
        int y = (height - size.cy) / 2;
        if (grayed && state.identifier != kPlainBitmapButtonId)
            DrawEmbossedBitmap(dc, x, y, size.cx, size.cy, state.smallBitmap, 0, 0);
        else
            DrawTransparentBitmap(dc, state.smallBitmap, x, y, kPictureTransparentColor);
    } else if (state.picture) {
        DrawPicture(state, dc, width, height, grayed);
    }
    RECT rect = {0, 0, width, height};
    if ((item.itemState & ODS_FOCUS) && !state.noFocusRect)
        DrawFocusRect(dc, &rect);
    if (state.hovering)
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, dc, 0, 0, SRCCOPY);
}
