#include "noteprops/AppearanceTips.h"

#include <commctrl.h>

#include "foundation/win/Tooltips.h"
#include "noteprops/AppearanceSettings.h"
#include "resources/ids/NoteSettingsIds.h"

namespace {
// The preview's parts with tips, in the order of CAppearanceTips::m_parts;
// the body around the sample text is three rectangles.
enum PreviewPart { kTitleText, kTitleBackground, kText, kBodyAbove, kBodyLeft, kBodyBelow };
const DWORD kAppearanceTipsTextureKind = 4;

const char* BackgroundComboTip(DWORD kind)
{
    return kind == kAppearanceTipsTextureKind ? "Click inside the note to select an image"
                                : "Ctrl+click inside the note to toggle gradient setting";
}
}

CAppearanceTips::CAppearanceTips(HWND page, HWND preview, const CAppearanceSettings& settings)
    : m_page(page), m_preview(preview), m_settings(settings), m_tooltip(CreateTooltipControl(page))
{
    if (!m_tooltip)
        return;
    AddTooltipSubclass(m_tooltip, "Shift+click inside the note to toggle left margin line setting", page,
                       GetDlgItem(page, IDC_APPEARANCE_MARGIN));
    AddTooltipSubclass(m_tooltip, BackgroundComboTip(settings.backgroundKind), page,
                       GetDlgItem(page, IDC_APPEARANCE_BACKGROUND));
}

CAppearanceTips::~CAppearanceTips()
{
    if (m_tooltip && IsWindow(m_tooltip))
        DestroyWindow(m_tooltip);
}

void CAppearanceTips::Place(const PreviewRegions& regions)
{
    if (!m_tooltip)
        return;
    RECT client{};
    GetClientRect(m_preview, &client);
    const RECT& text = regions.text;
    const LONG bodyTop = regions.titleText.bottom;
    const RECT parts[kParts] = {
        regions.titleText,
        regions.titleBackground,
        text,
        {0, bodyTop, client.right, text.top},
        {0, text.top, text.left, text.bottom},
        {0, text.bottom, client.right, client.bottom},
    };
    for (int part = 0; part < kParts; ++part) {
        m_parts[part] = parts[part];
        MapWindowPoints(m_preview, m_page, reinterpret_cast<POINT*>(&m_parts[part]), 2);
        if (!m_placed)
            AddTooltipRect(m_tooltip, TextOf(part), m_page, static_cast<UINT>(part + 1), m_parts[part], false);
    }
    m_placed = true;
    SetTexts();
}

void CAppearanceTips::OnBackgroundKind()
{
    if (!m_tooltip)
        return;
    UpdateTooltipSubclassText(m_tooltip, BackgroundComboTip(m_settings.backgroundKind), m_page,
                              GetDlgItem(m_page, IDC_APPEARANCE_BACKGROUND));
    SetTexts();
}

void CAppearanceTips::OnMouseMove(WPARAM keys, LPARAM point)
{
    if (!m_tooltip)
        return;
    MSG relayed = {m_page, WM_MOUSEMOVE, keys, point, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relayed.pt);
    SendMessageA(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    const bool control = (keys & MK_CONTROL) != 0;
    const bool shift = (keys & MK_SHIFT) != 0;
    if (control == m_control && shift == m_shift)
        return;
    m_control = control;
    m_shift = shift;
    SetTexts();
    // A tip on show takes its new text.
    SendMessageA(m_tooltip, TTM_UPDATE, 0, 0);
}

// Moves each tool to its part and gives it the text for the keys held now.
void CAppearanceTips::SetTexts()
{
    if (!m_placed)
        return;
    for (int part = 0; part < kParts; ++part)
        UpdateTooltipRectText(m_tooltip, TextOf(part), static_cast<UINT>(part + 1), m_parts[part], m_page);
}

const char* CAppearanceTips::TextOf(int part) const
{
    if (part == kTitleText)
        return "Click to change the title text colour/font";
    if (part == kTitleBackground)
        return "Click to change the title background colour";
    const bool texture = m_settings.backgroundKind == kAppearanceTipsTextureKind;
    if (m_control && m_shift)
        return "Click to reset left margin line and gradient settings";
    // Over a picture a Ctrl+click is a plain click.
    if (m_control && !texture)
        return "Click to toggle gradient setting";
    if (m_shift && !m_control)
        return "Click to toggle left margin line setting";
    if (part == kText)
        return "Click to change the note text colour/font";
    return texture ? "Click to select an image for the note background" : "Click to change the note background colour";
}
