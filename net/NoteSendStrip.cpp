#include "net/NoteSendStrip.h"

#include "foundation/CallbackGuard.h"

namespace {
const char kNoteSendStripClass[] = "QnSendStrip";
const int kStripId = 102;
const int kStripMinHeight = 18;
const int kStripMaxLines = 3;
const int kTextLeftWithPicture = 20;
const UINT_PTR kHideTimerId = 1;
const UINT kHideAfterMs = 8000;

// What the strip draws besides its text, kept in its user data.
struct StripState {
    int frame = -1;
    bool failed = false;
};

StripState* NoteSendStripStateOf(HWND strip)
{
    return reinterpret_cast<StripState*>(GetWindowLongPtrA(strip, GWLP_USERDATA));
}

// Six dots on a ring; the frame's dot is the large dark one.
void PaintWheel(HDC dc, int frame, int centreX, int centreY)
{
    static const int kDots[6][2] = {{0, -5}, {4, -3}, {4, 3}, {0, 5}, {-4, 3}, {-4, -3}};
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    for (int i = 0; i < 6; ++i) {
        const bool current = i == frame;
        HBRUSH brush = CreateSolidBrush(current ? RGB(0, 90, 200) : RGB(170, 190, 220));
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        const int radius = current ? 3 : 2;
        const int x = centreX + kDots[i][0], y = centreY + kDots[i][1];
        Ellipse(dc, x - radius, y - radius, x + radius + 1, y + radius + 1);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
    }
    SelectObject(dc, oldPen);
}

void Paint(HWND strip)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(strip, &paint);
    RECT client{};
    GetClientRect(strip, &client);
    const StripState* state = NoteSendStripStateOf(strip);
    const bool failed = state && state->failed;
    HBRUSH background = CreateSolidBrush(failed ? RGB(255, 228, 225) : RGB(232, 240, 252));
    FillRect(dc, &client, background);
    DeleteObject(background);
    RECT edge = client;
    edge.bottom = 1;
    FillRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
    int textLeft = 4;
    if (state && state->frame >= 0) {
        PaintWheel(dc, state->frame, 10, client.bottom / 2);
        textLeft = kTextLeftWithPicture;
    }
    char text[512] = "";
    GetWindowTextA(strip, text, sizeof text);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, failed ? RGB(160, 0, 0) : RGB(0, 0, 0));
    RECT textRect = {textLeft, 3, client.right - 2, client.bottom - 2};
    DrawTextA(dc, text, -1, &textRect, DT_LEFT | DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(strip, &paint);
}

void Hide(HWND strip)
{
    KillTimer(strip, kHideTimerId);
    ShowWindow(strip, SW_HIDE);
    HWND note = GetParent(strip);
    RECT client{};
    GetClientRect(note, &client);
    // The note lays its body out again over the room the strip took.
    SendMessageA(note, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    RedrawWindow(note, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK StripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<LRESULT>(0, [&]() -> LRESULT {
        switch (message) {
        case WM_PAINT:
            Paint(strip);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETTEXT: {
            LRESULT answer = DefWindowProcA(strip, message, wParam, lParam);
            InvalidateRect(strip, nullptr, FALSE);
            return answer;
        }
        case WM_LBUTTONUP:
            if (NoteSendStripStateOf(strip) && NoteSendStripStateOf(strip)->frame < 0)
                Hide(strip);
            return 0;
        case WM_TIMER:
            if (wParam == kHideTimerId)
                Hide(strip);
            return 0;
        case WM_NCDESTROY:
            delete NoteSendStripStateOf(strip);
            SetWindowLongPtrA(strip, GWLP_USERDATA, 0);
            break;
        default:
            break;
        }
        return DefWindowProcA(strip, message, wParam, lParam);
    });
}

// Shown by the program, whether or not the note itself is on the screen.
bool IsShown(HWND strip)
{
    return (GetWindowLongPtrA(strip, GWL_STYLE) & WS_VISIBLE) != 0;
}

HWND FindStrip(HWND note)
{
    return note ? GetDlgItem(note, kStripId) : nullptr;
}

// The text wraps onto at most three lines at the strip's width.
int NeededHeight(HWND strip, int width)
{
    char text[512] = "";
    GetWindowTextA(strip, text, sizeof text);
    HDC dc = GetDC(strip);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT bounds = {0, 0, width - kTextLeftWithPicture - 2, 0};
    DrawTextA(dc, text, -1, &bounds, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    SelectObject(dc, oldFont);
    ReleaseDC(strip, dc);
    int textHeight = bounds.bottom - bounds.top;
    if (textHeight > kStripMaxLines * metrics.tmHeight)
        textHeight = kStripMaxLines * metrics.tmHeight;
    return textHeight + 5 > kStripMinHeight ? textHeight + 5 : kStripMinHeight;
}

HWND MakeStrip(HWND note)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(note, GWLP_HINSTANCE));
    WNDCLASSA known{};
    if (!GetClassInfoA(instance, kNoteSendStripClass, &known)) {
        WNDCLASSA strips{};
        strips.lpfnWndProc = &StripProc;
        strips.hInstance = instance;
        strips.hCursor = LoadCursor(nullptr, IDC_ARROW);
        strips.lpszClassName = kNoteSendStripClass;
        RegisterClassA(&strips);
    }
    HWND strip = CreateWindowExA(0, kNoteSendStripClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, kStripMinHeight, note,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStripId)), instance, nullptr);
    if (strip)
        SetWindowLongPtrA(strip, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new StripState));
    return strip;
}
}

void ShowSendStrip(HWND note, const std::string& text, bool failed, int frame)
{
    HWND strip = FindStrip(note);
    if (!strip && !(strip = MakeStrip(note)))
        return;
    KillTimer(strip, kHideTimerId);
    if (StripState* state = NoteSendStripStateOf(strip)) {
        state->failed = failed;
        state->frame = frame;
    }
    SetWindowTextA(strip, text.c_str());
    if (!IsShown(strip))
        ShowWindow(strip, SW_SHOWNA);
    // The text may take another number of lines: the note lays itself out again.
    RECT client{};
    GetClientRect(note, &client);
    SendMessageA(note, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    InvalidateRect(strip, nullptr, FALSE);
}

void SetSendStripFrame(HWND note, int frame)
{
    HWND strip = FindStrip(note);
    StripState* state = strip ? NoteSendStripStateOf(strip) : nullptr;
    if (!state || state->frame < 0)
        return;
    state->frame = frame;
    InvalidateRect(strip, nullptr, FALSE);
}

void HideSendStrip(HWND note)
{
    HWND strip = FindStrip(note);
    if (strip && IsShown(strip))
        Hide(strip);
}

void HideSendStripLater(HWND note)
{
    if (HWND strip = FindStrip(note))
        SetTimer(strip, kHideTimerId, kHideAfterMs, nullptr);
}

int PlaceSendStrip(HWND note, const RECT& client)
{
    HWND strip = FindStrip(note);
    if (!strip || !IsShown(strip))
        return 0;
    const int needed = NeededHeight(strip, client.right);
    const int height = client.bottom > 2 * needed ? needed : 0;
    SetWindowPos(strip, HWND_TOP, 0, client.bottom - height, client.right, height, SWP_NOACTIVATE);
    return height;
}
