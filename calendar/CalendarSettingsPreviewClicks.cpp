// The preview as the editor of colours, fonts and background: what a click
// on each region opens, the Ctrl+click gradient toggle, the cursors and the
// region tips.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "calendar/CalendarSettingsDlgTexture.h"
#include "calendar/CalendarSettingsDlgWnd.h"
#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/ColorDialog.h"
#include "foundation/win/FontDialog.h"
#include "foundation/win/Tooltips.h"
#include "globals/GlobalTexts.h"
#include "resources/ids/CalendarSettingsIds.h"

namespace {
const char kCalendarSettingsPreviewClicksTextTip[] = "Click to change the calendar text colour/font";
const char kGradientTip[] = "Click to toggle gradient setting";
const char kCalendarSettingsPreviewClicksNoImage[] = "  NoImage";
const int kImageType = 4;

bool CalendarSettingsPreviewClicksControlHeld()
{
    return GetKeyState(VK_CONTROL) < 0;
}

HCURSOR CursorOr(HCURSOR cursor)
{
    return cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW);
}
}

int CCalendarSettingsWnd::RegionAt(POINT point) const
{
    for (int index = 0; index < kRegionCount; ++index) {
        if (PtInRect(&m_regions[index], point))
            return index;
    }
    return -1;
}

bool CCalendarSettingsWnd::CtrlGradientApplies(bool control) const
{
    return control && GetGradientFillFunction() && m_settings.backgroundType != kImageType;
}

// Ctrl+click steps plain, horizontal, vertical, diagonal and round again.
bool CCalendarSettingsWnd::ToggleGradientOnCtrlClick(bool control)
{
    if (!CtrlGradientApplies(control))
        return false;
    m_settings.backgroundType = (m_settings.backgroundType + 1) % 4;
    SelectBackground();
    Redraw();
    return true;
}

void CCalendarSettingsWnd::OnLeftButtonDown(POINT point, bool control)
{
    if (PtInRect(&m_captionText, point)) {
        ChooseTitleFontAndColor();
        return;
    }
    if (PtInRect(&m_captionBack, point)) {
        ChooseTitleBackground();
        return;
    }
    const int region = RegionAt(point);
    if (region < 0)
        return;
    if (m_settings.rollUp == 1 && region == 0)
        ChooseTextColorAndFont(control);
    else
        ChooseBackground(control);
}

void CCalendarSettingsWnd::ChooseTitleFontAndColor()
{
    LOGFONTA font = m_settings.titleFont.logFont;
    COLORREF color = m_settings.dialogTitleTextColor;
    if (!ChooseFontWithTitle(&font, &color, m_dialog, m_settings.titleFont.logFont, color,
                             "Select title text colour/font..."))
        return;
    m_settings.SetDialogTitleFont(font);
    m_settings.dialogTitleTextColor = color;
    LayOutPreview();
    Redraw();
}

void CCalendarSettingsWnd::ChooseTitleBackground()
{
    COLORREF color = m_settings.dialogTitleBackColor;
    if (!ChooseColorWithTitle(&color, m_dialog, color, "Select title background colour..."))
        return;
    m_settings.dialogTitleBackColor = color;
    Redraw();
}

// One colour for every text of the month, and the days font.
void CCalendarSettingsWnd::ChooseTextColorAndFont(bool control)
{
    if (ToggleGradientOnCtrlClick(control))
        return;
    LOGFONTA font = m_settings.daysFont.logFont;
    COLORREF color = m_settings.daysAreaTextColor;
    if (!ChooseFontWithTitle(&font, &color, m_dialog, m_settings.daysFont.logFont, color,
                             "Select calendar text colour/font..."))
        return;
    m_settings.prevNextForeColor = color;
    m_settings.calendarTitleTextColor = color;
    m_settings.weekdayTextColor = color;
    m_settings.daysAreaTextColor = color;
    TakeDaysFont(font);
    FillPreviewMonth();
    LayOutPreview();
    Redraw();
}

void CCalendarSettingsWnd::ChooseBackground(bool control)
{
    if (ToggleGradientOnCtrlClick(control))
        return;
    if (m_settings.backgroundType == kImageType)
        ChooseTexture();
    else
        ChooseBackgroundColor();
}

void CCalendarSettingsWnd::ChooseBackgroundColor()
{
    COLORREF color = m_settings.dialogBackColor;
    if (!ChooseColorWithTitle(&color, m_dialog, color, "Select the calendar background color"))
        return;
    m_settings.dialogBackColor = color;
    m_settings.daysAreaBackColor = color;
    m_settings.calendarTitleBackColor = color;
    m_settings.weekdayBackColor = color;
    ApplyLookToPreview();
    Redraw();
}

void CCalendarSettingsWnd::ChooseTexture()
{
    int isFolder = 0;
    const std::string folder = DataFilePath(DataName::kTexturesFolder);
    if (!FileExists(folder.c_str(), &isFolder) || !isFolder) {
        const std::string text = "Sorry, the folder '" + GetDataFolder() + "\\TEXTURES'is missing." +
                                 "\r\n\r\nPlease create this folder, copy into it some nice images and then try again.";
        ShowErrorMessage(m_dialog, text.c_str(), "Quillnet+");
        return;
    }
    CTextureEntry entry(m_settings.backgroundImage, m_settings.tileStretch);
    if (!RunCalendarTexturePicker(m_dialog, entry))
        return;
    m_settings.SetBackgroundImage(lstrcmpiA(entry.fileName, kCalendarSettingsPreviewClicksNoImage) == 0 ? "" : entry.fileName);
    m_settings.tileStretch = entry.kind;
    Redraw();
}

void CCalendarSettingsWnd::OnBackgroundCombo()
{
    const LRESULT selected = SendDlgItemMessageA(m_dialog, IDC_CALSET_BACKGROUND, CB_GETCURSEL, 0, 0);
    if (selected < 0 || selected > 5)
        return;
    m_settings.backgroundType = static_cast<DWORD>(selected);
    if (m_settings.backgroundType != kImageType)
        m_settings.SetBackgroundImage(nullptr);
    EnableTransparency();
    UpdateBackgroundTips();
    RelayMouseToTooltip(m_comboTip);
    Redraw();
    if (m_settings.backgroundType == kImageType)
        ChooseTexture();
}

void CCalendarSettingsWnd::UpdateBackgroundTips()
{
    const bool image = m_settings.backgroundType == kImageType;
    std::snprintf(m_backgroundTip, sizeof m_backgroundTip, "%s",
                  image ? "Click to select an image for the calendar background"
                        : "Click to change the calendar background colour");
    std::snprintf(m_comboTipText, sizeof m_comboTipText, "%s",
                  image ? "Click inside the calendar to select an image"
                        : "Ctrl+click inside the calendar to toggle gradient setting");
    if (m_comboTip)
        UpdateTooltipSubclassText(m_comboTip, m_comboTipText, m_dialog, GetDlgItem(m_dialog, IDC_CALSET_BACKGROUND));
    if (m_grid) {
        for (int index = 0; index < 42; ++index)
            m_grid->Cell(index).SetPreviewTips(kCalendarSettingsPreviewClicksTextTip, m_backgroundTip);
    }
}

const char* CCalendarSettingsWnd::RegionTipText(UINT id) const
{
    if (id < IDT_CALSET_FIRST_REGION || id > IDT_CALSET_LAST_REGION)
        return nullptr;
    if (m_ctrlGradient)
        return kGradientTip;
    if (id == IDT_CALSET_FIRST_REGION && m_settings.rollUp == 1)
        return kCalendarSettingsPreviewClicksTextTip;
    return m_backgroundTip;
}

// The cursor over the preview: the caption's halves, the text band of a
// rolled-up preview, the background, and the gradient cursor while Ctrl is
// held where a click would toggle the gradient.
bool CCalendarSettingsWnd::OnSetCursor()
{
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(m_dialog, &point);
    const CProgramCursors& cursors = ProgramCursors();
    if (PtInRect(&m_captionBack, point)) {
        SetCursor(CursorOr(cursors.pointer));
        return true;
    }
    if (PtInRect(&m_captionText, point)) {
        SetCursor(CursorOr(cursors.mail));
        return true;
    }
    const int region = RegionAt(point);
    if (region < 0)
        return false;
    const bool textMode = m_settings.rollUp == 1 && region == 0;
    if (CtrlGradientApplies(CalendarSettingsPreviewClicksControlHeld()))
        SetCursor(CursorOr(cursors.gradient));
    else
        SetCursor(CursorOr(textMode ? cursors.mail : cursors.pointer));
    return true;
}

// The region and caption tips are rectangles of the dialog: they see the
// mouse only as the dialog hands its moves on.
void CCalendarSettingsWnd::OnMouseMove(WPARAM flags, POINT point)
{
    const bool inRegion = RegionAt(point) >= 0;
    const bool gradient = inRegion && CtrlGradientApplies(CalendarSettingsPreviewClicksControlHeld());
    if (gradient != m_ctrlGradient) {
        m_ctrlGradient = gradient;
        // The tip asks for its text again when it shows next.
        RegisterRegionTips();
    }
    MSG move = {};
    move.hwnd = m_dialog;
    move.message = WM_MOUSEMOVE;
    move.wParam = flags;
    move.lParam = MAKELPARAM(point.x, point.y);
    GetCursorPos(&move.pt);
    for (HWND tip : {m_captionTextTip, m_captionBackTip, m_regionTip}) {
        if (tip)
            SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    }
}
