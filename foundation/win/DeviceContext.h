#pragma once

#include <windows.h>

// Owning wrappers of device contexts: each obtains its DC when built and gives it
// back when released or destroyed. CDeviceContext is the drawing view they share.
class CDeviceContext {
public:
    HDC GetHandle() const { return m_hdc; }

    void DrawLine(int x1, int y1, int x2, int y2);
    // Fills by an opaque ExtTextOut; the DC's background colour is kept.
    void FillSolidRect(int left, int top, int right, int bottom, COLORREF color);
    int DrawText(const char* text, RECT* rect, UINT format);
    // 1 << bits per pixel (30 for 32 or more) times the planes: tints are used
    // only when this exceeds 256.
    DWORD GetColorCount() const;
    COLORREF SetTextColor(COLORREF color);
    int SetBkMode(int mode);
    void GetCharSize(int* averageWidth, int* height) const;

protected:
    explicit CDeviceContext(HDC dc = nullptr) : m_hdc(dc) {}
    ~CDeviceContext() = default;
    CDeviceContext(const CDeviceContext&) = delete;
    CDeviceContext& operator=(const CDeviceContext&) = delete;

    HDC m_hdc;
};

// The colour count of a display of that depth, modulo 2^32.
DWORD ColorCountFor(int bitsPerPixel, int planes);

// For one WM_PAINT.
class CPaintDC : public CDeviceContext {
public:
    explicit CPaintDC(HWND window);
    ~CPaintDC();
    const PAINTSTRUCT& GetPaintStruct() const { return m_paint; }

private:
    PAINTSTRUCT m_paint;
    HWND m_window;
};

class CClientDC : public CDeviceContext {
public:
    explicit CClientDC(HWND window) : CClientDC(window, GetDC(window)) {}
    ~CClientDC() { Release(); }
    void Release();

protected:
    CClientDC(HWND window, HDC dc) : CDeviceContext(dc), m_window(window) {}

private:
    HWND m_window;
};

// The whole window, frame included; released like a client DC.
class CWindowDC : public CClientDC {
public:
    explicit CWindowDC(HWND window) : CClientDC(window, GetWindowDC(window)) {}
};

// The whole display; failure throws "CScreenCanvas::constructor failed".
class CScreenCanvas : public CDeviceContext {
public:
    CScreenCanvas();
    ~CScreenCanvas() { Release(); }
    void Release();
};

// A memory DC with a compatible bitmap of a rectangle's size; windows prepare
// their backgrounds in it and copy from it when they paint.
class CMemoryDC : public CDeviceContext {
public:
    CMemoryDC() { Init(); }
    CMemoryDC(HDC reference, const RECT& rect);
    ~CMemoryDC() { Release(); }

    void Init();
    // Releases what is held, then a DC compatible with the reference and a bitmap
    // of the rectangle's size. A bitmap that cannot be made is reported and the
    // DC goes on without one.
    void Create(HDC reference, const RECT& rect);
    // Blits the given bitmap, selected into this DC, from (0, 0) to the target.
    void CopyTo(HBITMAP bitmap, HDC target, int x, int y, int width, int height);
    // Paints the whole rectangle with the brush once; later calls do nothing until
    // the next release.
    void FillWithBrush(HBRUSH brush);
    // Hands the bitmap to the clipboard, which owns it from then on.
    bool CopyBitmapToClipboard();
    void Release();

    HBITMAP GetBitmap() const { return m_bitmap; }
    const RECT& GetRect() const { return m_rect; }
    int GetWidth() const { return m_rect.right - m_rect.left; }
    int GetHeight() const { return m_rect.bottom - m_rect.top; }

private:
    RECT m_rect;
    HBITMAP m_bitmap;
    HGDIOBJ m_previousBitmap;
    HBRUSH m_fillBrush;
    BOOL m_keepBitmap;
};

// Selects one object into a DC and selects the previous one back.
class CObjectSelector {
public:
    CObjectSelector(HDC dc, HGDIOBJ object);
    ~CObjectSelector() { Restore(); }
    CObjectSelector(const CObjectSelector&) = delete;
    CObjectSelector& operator=(const CObjectSelector&) = delete;
    void Restore();

private:
    HDC m_hdc;
    HGDIOBJ m_previous;
    BOOL m_selected;
};
