#include "foundation/win/WindowClass.h"

#include "foundation/bytes/GenericException.h"

namespace {
const UINT kDefaultStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
const UINT kArrowCursorId = 32512; // the id behind IDC_ARROW

HICON LoadClassIcon(HINSTANCE instance, UINT iconId, int widthMetric, int heightMetric)
{
    if (iconId == 0)
        return nullptr;
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED));
}
}

CWindowClass::CWindowClass(WNDPROC procedure, UINT classNameId, HINSTANCE instance, UINT style, UINT iconId,
                           UINT cursorId, HBRUSH background)
    : m_class()
{
    m_className.LoadString(instance, classNameId);
    m_class.cbSize = sizeof m_class;
    m_class.style = style ? style : kDefaultStyle;
    m_class.lpfnWndProc = procedure;
    m_class.hInstance = instance;
    m_class.hIcon = LoadClassIcon(instance, iconId, SM_CXICON, SM_CYICON);
    m_class.hIconSm = LoadClassIcon(instance, iconId, SM_CXSMICON, SM_CYSMICON);
    if (cursorId == 0 || cursorId == kArrowCursorId)
        m_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(kArrowCursorId));
    else
        m_class.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(cursorId));
    m_class.hbrBackground = background ? background : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    m_class.lpszClassName = m_className.GetText();
}

ATOM CWindowClass::RegisterClassEx()
{
    m_atom = ::RegisterClassExA(&m_class);
    if (!m_atom)
        throw CGenericException("CWindowClass::RegisterClassEx failed.");
    return m_atom;
}

HWND CWindowClass::FindWindow() const
{
    return ::FindWindowA(m_className.GetText(), nullptr);
}
