#pragma once

#include <windows.h>

// The parameters of one top-level or child window and its creation. A window
// that cannot be created throws, so start-up stops with a message.
class CFrameWindow {
public:
    // With a menu id other than 0 the menu is loaded from the instance.
    CFrameWindow(DWORD extendedStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                 int height, HWND parent, UINT menuId, HINSTANCE instance, void* parameter);
    ~CFrameWindow();
    CFrameWindow(const CFrameWindow&) = delete;
    CFrameWindow& operator=(const CFrameWindow&) = delete;

    // Creates the window. A failure kept by the window's WM_CREATE is thrown as it
    // was; any other failure is shown in a box and thrown with the same text.
    HWND Create();
    void Show(int showCommand);

    HWND GetHandle() const { return m_window; }

private:
    HWND m_window = nullptr;
    DWORD m_extendedStyle;
    char m_className[256];
    char m_title[256];
    DWORD m_style;
    int m_x;
    int m_y;
    int m_width;
    int m_height;
    HWND m_parent;
    HMENU m_menu = nullptr;
    HINSTANCE m_instance;
    void* m_parameter;
};
