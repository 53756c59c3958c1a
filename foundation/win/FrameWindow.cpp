#include "foundation/win/FrameWindow.h"

#include <cstdio>

#include "foundation/CallbackGuard.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

CFrameWindow::CFrameWindow(DWORD extendedStyle, const char* className, const char* title, DWORD style, int x, int y,
                           int width, int height, HWND parent, UINT menuId, HINSTANCE instance, void* parameter)
    : m_extendedStyle(extendedStyle),
      m_style(style),
      m_x(x),
      m_y(y),
      m_width(width),
      m_height(height),
      m_parent(parent),
      m_instance(instance),
      m_parameter(parameter)
{
    std::snprintf(m_className, sizeof m_className, "%s", className ? className : "");
    std::snprintf(m_title, sizeof m_title, "%s", title ? title : "");
    if (menuId)
        m_menu = LoadMenuA(instance, MAKEINTRESOURCEA(menuId));
}

CFrameWindow::~CFrameWindow()
{
    // A menu that never went to a window is still ours.
    if (m_menu && !m_window)
        DestroyMenu(m_menu);
}

HWND CFrameWindow::Create()
{
    ClearCreationFailure();
    m_window = CreateWindowExA(m_extendedStyle, m_className, m_title, m_style, m_x, m_y, m_width, m_height, m_parent,
                               m_menu, m_instance, m_parameter);
    if (m_window)
        return m_window;
    DWORD code = GetLastError();
    RethrowCreationFailure();

    char description[400];
    FormatLastErrorText(code, description, sizeof description);
    char text[800];
    std::snprintf(text, sizeof text, "%sCFrameWindow:: Create() failed.\r\n Class name: %s", description, m_className);
    ShowErrorMessage(ForegroundOwner(), text, ProgramTitle);
    throw CGenericException(text);
}

void CFrameWindow::Show(int showCommand)
{
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
}
