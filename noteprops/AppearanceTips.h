#pragma once

#include <windows.h>

#include "noteprops/AppearancePreview.h"

struct CAppearanceSettings;

// The Appearance page's hover tips: over each part of the note preview, what
// a click there does (with Ctrl, Shift or both held, what that click does
// instead), and on the two combos how the preview changes them. The preview
// lets the mouse through to the page, so the tips are rectangles of the page
// and the page relays its mouse moves.
class CAppearanceTips {
public:
    CAppearanceTips(HWND page, HWND preview, const CAppearanceSettings& settings);
    ~CAppearanceTips();
    CAppearanceTips(const CAppearanceTips&) = delete;
    CAppearanceTips& operator=(const CAppearanceTips&) = delete;

    // The preview's parts moved (fonts, lines, roll up): the tips follow.
    void Place(const PreviewRegions& regions);
    // The background kind changed: the tips say what a click does now.
    void OnBackgroundKind();
    // WM_MOUSEMOVE of the page: the tip of the part under the mouse, for the
    // keys held with it.
    void OnMouseMove(WPARAM keys, LPARAM point);

private:
    static const int kParts = 6;
    const char* TextOf(int part) const;
    void SetTexts();

    RECT m_parts[kParts] = {};  // in the page's client area
    HWND m_page;
    HWND m_preview;
    const CAppearanceSettings& m_settings;
    HWND m_tooltip = nullptr;
    bool m_control = false;
    bool m_shift = false;
    bool m_placed = false;
};
