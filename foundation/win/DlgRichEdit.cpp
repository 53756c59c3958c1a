#include "foundation/win/DlgRichEdit.h"

#include <richedit.h>

#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/LinkStatic.h"
#include "foundation/win/LoadedBitmap.h"
#include "foundation/win/RichEditLines.h"
#include "foundation/win/RuledLines.h"
#include "foundation/win/Subclassing.h"
#include "resources/ids/StyleTextMenuIds.h"

namespace {
const char kDlgRichEditOwner[] = "QnDlgRichEdit";
const int kBoldKey = 2;       // Ctrl+B
const int kItalicKey = '\t';  // Ctrl+I comes as the tab character
const int kUnderlineKey = 21; // Ctrl+U

bool IsArrowKey(WPARAM key)
{
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}
}

CDlgRichEdit::CDlgRichEdit(HWND dialog, int controlId)
    : m_dialog(dialog), m_edit(GetDlgItem(dialog, controlId)),
      m_wheelMessage(RegisterWindowMessageA("MSWHEEL_ROLLMSG"))
{
    m_previous = SubclassWindow(m_edit, kDlgRichEditOwner, this, &CDlgRichEdit::SubclassProc);
}

CDlgRichEdit::~CDlgRichEdit()
{
    RestoreWindowProc(m_edit, kDlgRichEditOwner, m_previous);
}

void CDlgRichEdit::SetBackground(const DlgRichEditBackground& background)
{
    m_background = background;
    CLoadedBitmap picture;
    if (!background.textureName.empty()) {
        std::string path = DataFilePath(DataName::kTexturesFolder) + "\\" + background.textureName;
        picture.LoadImageFromFile(GetModuleHandleA(nullptr), path.c_str());
    }
    PaintBackgroundPicture(m_edit, m_memory, background.gradientKind, picture.GetBitmap(), picture.GetWidth(),
                           picture.GetHeight(), background.stretchTexture, BrushCache().GetBrush(background.color));
    const bool gradient = background.gradientKind >= 1 && background.gradientKind <= 3;
    m_backgroundPicture = picture.GetBitmap() != nullptr || gradient || background.ruled;
    if (m_backgroundPicture)
        SendMessageA(m_edit, EM_SETBKGNDCOLOR, 0, background.color);
    InvalidateRect(m_edit, nullptr, TRUE);
}

LRESULT CALLBACK CDlgRichEdit::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToSubclassOwner(window, kDlgRichEditOwner, &CDlgRichEdit::OnMessage, message, wParam, lParam);
}

LRESULT CDlgRichEdit::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(m_previous, m_edit, message, wParam, lParam);
}

bool CDlgRichEdit::OnChar(WPARAM key)
{
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (ctrl && (key == kBoldKey || key == kItalicKey || key == kUnderlineKey)) {
        int command = key == kBoldKey ? ID_STYLE_TEXT_BOLD : key == kItalicKey ? ID_STYLE_TEXT_ITALIC
                                                                               : ID_STYLE_TEXT_UNDERLINE;
        SendMessageA(m_dialog, WM_COMMAND, command, 0);
        return true;
    }
    if (key == '\t') {
        PostNextDialogControl(m_dialog, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (key == VK_ESCAPE) {
        PostDialogCancel(m_dialog);
        return true;
    }
    return false;
}

void CDlgRichEdit::Scroll(int delta)
{
    SendMessageA(m_edit, EM_LINESCROLL, 0, delta > 0 ? -1 : 1);
    if (!m_backgroundPicture)
        InvalidateRect(m_edit, nullptr, TRUE);
}

void CDlgRichEdit::ShowMenu(LPARAM position)
{
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_STYLE_TEXT));
    if (!loaded) {
        ShowErrorMessage(m_dialog, "CDlgRichEdit::LoadMenu failed", ProgramTitle);
        return;
    }
    m_menuHandle = GetSubMenu(loaded, 0);
    m_menu.AttachPlainItems(GetModuleHandleA(nullptr), m_menuHandle);
    POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    if (position == -1)
        GetCursorPos(&point);
    m_menuOpen = true;
    UINT chosen = m_menu.TrackPopup(TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, m_edit);
    m_menuOpen = false;
    m_menu.Detach();
    DestroyMenu(loaded);
    m_menuHandle = nullptr;
    if (chosen)
        OnMenuCommand(chosen);
}

void CDlgRichEdit::OnMenuCommand(UINT id)
{
    switch (id) {
    case ID_STYLE_TEXT_BOLD:
    case ID_STYLE_TEXT_ITALIC:
    case ID_STYLE_TEXT_UNDERLINE:
        SendMessageA(m_dialog, WM_COMMAND, id, 0);
        break;
    case ID_STYLE_TEXT_CUT:
        SendMessageA(m_edit, WM_CUT, 0, 0);
        break;
    case ID_STYLE_TEXT_COPY:
        SendMessageA(m_edit, WM_COPY, 0, 0);
        break;
    case ID_STYLE_TEXT_PASTE:
        SendMessageA(m_edit, WM_PASTE, 0, 0);
        break;
    case ID_STYLE_TEXT_UNDO:
        SendMessageA(m_edit, WM_UNDO, 0, 0);
        break;
    case ID_STYLE_TEXT_SELECT_ALL:
        SendMessageA(m_edit, EM_SETSEL, 0, -1);
        break;
    default:
        break;
    }
}

// The prepared picture, and the ruled lines under the text where it lies now.
// False when the edit is left to paint itself.
bool CDlgRichEdit::PaintWithBackground()
{
    const std::vector<int> ruledRows = m_background.ruled
                                           ? RuledRowsForPaint(m_edit, m_background.lineHeight, m_paintedTextEnd)
                                           : std::vector<int>();
    auto paintUnder = [&](HDC under, const RECT& client) {
        BitBlt(under, 0, 0, client.right, client.bottom, m_memory.GetHandle(), 0, 0, SRCCOPY);
        RECT text{};
        SendMessageA(m_edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
        DrawRuledRows(under, ruledRows, text.left, text.right, m_background.textColor);
    };
    // A picture or a gradient stays in place while the text scrolls.
    const bool evenColour = m_background.textureName.empty() && m_background.gradientKind == 0;
    return PaintRichEditOverBackground(m_edit, m_previous, m_background.color, m_focused,
                                       evenColour ? nullptr : &m_paintedScroll, paintUnder);
}

LRESULT CDlgRichEdit::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_wheelMessage && m_wheelMessage) {
        Scroll(static_cast<int>(wParam));
        return 0;
    }
    switch (message) {
    case WM_CONTEXTMENU:
        ShowMenu(lParam);
        return 0;
    case WM_MEASUREITEM:
        if (m_menuHandle) {
            m_menu.MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        if (m_menuHandle) {
            m_menu.DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {
            OnMenuCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_CHAR:
        if (OnChar(wParam))
            return 0;
        break;
    case WM_KEYDOWN:
        m_keyboardSelecting = GetKeyState(VK_SHIFT) < 0 && IsArrowKey(wParam);
        break;
    case WM_KEYUP:
        m_keyboardSelecting = false;
        break;
    case WM_LBUTTONDOWN:
        m_buttonDown = true;
        break;
    case WM_LBUTTONUP:
        m_buttonDown = false;
        break;
    case WM_MOUSEWHEEL:
        Scroll(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_focused = message == WM_SETFOCUS;
        break;
    case WM_ERASEBKGND:
        if (m_backgroundPicture)
            return 1;
        break;
    case WM_PAINT:
        if (m_backgroundPicture && PaintWithBackground())
            return 0;
        break;
    case WM_SETCURSOR:
        if (m_menuOpen) {
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTTAB | DLGC_WANTALLKEYS;
    case WM_NCDESTROY: {
        WNDPROC previous = m_previous;
        HWND edit = m_edit;
        RestoreWindowProc(edit, kDlgRichEditOwner, previous);
        m_previous = nullptr;
        return CallWindowProcA(previous, edit, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallPrevious(message, wParam, lParam);
}
