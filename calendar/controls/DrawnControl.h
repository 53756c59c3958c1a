#pragma once

#include <windows.h>

#include "foundation/CallbackGuard.h"
#include "foundation/win/DeviceContext.h"

class CDateTime;

// What the calendar's drawn controls share. Each subclasses an existing
// dialog item: the object keeps the item's previous procedure and the item's
// user data holds the object; destroying the object puts both back.

// The dialog's item, or null after the information box with the text (the
// control then goes on without a window).
HWND FindDrawnItem(HWND parent, int controlId, const char* missingText);

// Puts the procedure in place and the object in the user data; returns the
// previous procedure (null without a window).
WNDPROC SubclassDrawnControl(HWND window, void* object, WNDPROC procedure);
// Puts the previous procedure back and clears the user data; nothing when the
// window is gone.
void UnsubclassDrawnControl(HWND window, WNDPROC previous);

// The procedure of every drawn control: the object in the user data handles
// the message under the program's guard; a window without one answers 0.
template <class Control>
LRESULT CALLBACK DrawnControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* control = reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!control)
        return 0;
    return GuardCallback<LRESULT>(0, [&] { return control->OnMessage(message, wParam, lParam); });
}

// A transparent control has its parent paint the piece of the parent's
// background under it (kMsgPaintButtonBackground); any other fills its client
// area with the cached brush of the colour.
void PaintControlBackground(HWND control, HWND parent, HDC dc, bool transparent, COLORREF color);
// The background repaint request (wParam 0, lParam 20) of WM_ERASEBKGND and
// kMsgRepaintButtonBackground: only it paints, on a client DC; a real erase
// with a DC paints nothing, since the control paints all of itself.
bool IsBackgroundRepaintRequest(WPARAM wParam, LPARAM lParam);
void RepaintControlBackground(HWND control, HWND parent, bool transparent, COLORREF color);

// Right button released at the client point of the control: the parent shows
// its context menu there, for the day cell's date or for no date.
void SendContextMenuRequest(HWND control, HWND parent, LPARAM clientPoint, const CDateTime* date);

// Asks for WM_MOUSELEAVE once the mouse leaves the control.
void TrackMouseLeave(HWND control);

// The point size of a font on the screen (MulDiv(-height, 72, pixels per inch)).
int FontPointSize(HFONT font);
// The font's LOGFONT; the dialog's standard font when it has none.
LOGFONTA LogFontOf(HFONT font);

// A control's tip in a tooltip control of its parent, shown as wide as needed.
class CControlTip {
public:
    explicit CControlTip(int textSize) : m_textSize(textSize < kMaxText ? textSize : kMaxText) {}
    ~CControlTip() { Destroy(); }
    CControlTip(const CControlTip&) = delete;
    CControlTip& operator=(const CControlTip&) = delete;

    void Create(HWND parent);
    bool Exists() const { return m_tooltip != nullptr; }
    // Registers the control with the text (cut to the text size) the first
    // time, later only changes the text.
    void Show(HWND parent, HWND control, const char* text);
    // The same, but an empty text (or null) takes the control off the tooltip.
    void SetText(HWND parent, HWND control, const char* text);
    // Lets a shown tip follow the cursor, or hide when it has left.
    void Relay() const;
    void Destroy();

    const char* GetText() const { return m_text; }
    bool IsRegistered() const { return m_registered; }

private:
    enum { kMaxText = 150 };
    HWND m_tooltip = nullptr;
    char m_text[kMaxText] = "";
    int m_textSize;
    bool m_registered = false;
};

// One of the program's shared cursors, or the arrow when it was not loaded.
HCURSOR SharedCursorOrArrow(HCURSOR cursor);

// The memory DC an owner-drawn item paints into at (0, 0), copied to the
// item's own DC when the canvas goes, so that the item never flickers. An
// item of no area gets none.
class CItemCanvas {
public:
    explicit CItemCanvas(const DRAWITEMSTRUCT& item);
    ~CItemCanvas();
    CItemCanvas(const CItemCanvas&) = delete;
    CItemCanvas& operator=(const CItemCanvas&) = delete;

    bool IsReady() const { return m_memory.GetHandle() != nullptr; }
    HDC GetDC() const { return m_memory.GetHandle(); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    RECT GetRect() const { return RECT{0, 0, m_width, m_height}; }

private:
    const DRAWITEMSTRUCT& m_item;
    int m_width;
    int m_height;
    CMemoryDC m_memory;
};
