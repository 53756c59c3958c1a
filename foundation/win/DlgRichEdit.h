#pragma once

#include <windows.h>

#include <string>

#include "foundation/win/CoolMenu.h"
#include "foundation/win/DeviceContext.h"
#include "foundation/win/RichTextStream.h"

// What a style's text box shows behind its text: a picture of the data
// folder's "TEXTURES" folder (tiled or stretched), a gradient kind 1 to 3, or
// the plain colour, and over it ruled lines when they are asked for.
struct DlgRichEditBackground {
    std::string textureName;
    bool stretchTexture = false;
    int gradientKind = 0;
    COLORREF color = RGB(255, 255, 255);
    // Ruled lines under the text's lines, in the tint of the text colour,
    // and below the text a line of this height apart (0: of the edit's
    // default format).
    bool ruled = false;
    int lineHeight = 0;
    COLORREF textColor = RGB(0, 0, 0);
};

// A dialog's rich-edit box with the program's behaviour: a formatting context
// menu, Ctrl+B/I/U sent to the dialog as its Bold, Italic and Underline
// commands, Tab and Escape that move through the dialog, the wheel that
// scrolls a line a notch, and a painted background.
class CDlgRichEdit {
public:
    CDlgRichEdit(HWND dialog, int controlId);
    ~CDlgRichEdit();
    CDlgRichEdit(const CDlgRichEdit&) = delete;
    CDlgRichEdit& operator=(const CDlgRichEdit&) = delete;

    void SetBackground(const DlgRichEditBackground& background);
    bool HasBackgroundPicture() const { return m_backgroundPicture; }
    HWND GetWindow() const { return m_edit; }

    static DWORD GetRTFSize(HWND control) { return ::GetRTFSize(control); }
    static std::string GetRTFText(HWND control) { return ::GetRTFText(control); }
    static DWORD GetRTFText(HWND control, char* buffer, DWORD capacity)
    {
        return ::GetRTFText(control, buffer, capacity);
    }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnChar(WPARAM key);
    void Scroll(int delta);
    void ShowMenu(LPARAM position);
    void OnMenuCommand(UINT id);
    bool PaintWithBackground();
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_dialog;
    HWND m_edit;
    WNDPROC m_previous = nullptr;
    UINT m_wheelMessage;
    bool m_keyboardSelecting = false;
    bool m_buttonDown = false;
    bool m_backgroundPicture = false;
    bool m_menuOpen = false;
    bool m_focused = false;
    DlgRichEditBackground m_background;
    CMemoryDC m_memory;
    POINT m_paintedScroll{};
    int m_paintedTextEnd = -1;
    CCoolMenu m_menu;
    HMENU m_menuHandle = nullptr;
};
