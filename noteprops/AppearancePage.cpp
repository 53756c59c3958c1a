// The "  Appearance  " page of the note settings sheet: the note's window
// flags, title, margin line, background, transparency and the defaults for
// new notes, with a preview of the note whose parts change colours and fonts
// when clicked (Ctrl cycles the gradient, Shift the margin line).
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/BoundedCopy.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/WindowHelpers.h"
#include "noteprops/AppearancePreview.h"
#include "noteprops/AppearanceTips.h"
#include "noteprops/AppearanceStyles.h"
#include "noteprops/AppearanceSettings.h"
#include "noteprops/NoteSettingsSheet.h"
#include "noteprops/bytes/TransparencySteps.h"
#include "resources/ids/GlobalsIds.h"
#include "resources/ids/NoteSettingsIds.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/StyleStorage.h"

namespace {
const char kAppearancePageProperty[] = "QnAppearancePage";
const char kTitleProperty[] = "QnAppearanceTitle";
const char kPreviewProperty[] = "QnAppearancePreview";
const int kTitleChars = 40;

const int kAppearanceFlagBoxes[][2] = {
    {IDC_APPEARANCE_BORDER, 0},  {IDC_APPEARANCE_ON_TOP, 1},       {IDC_APPEARANCE_SHOW_DATE, 2},
    {IDC_APPEARANCE_ROLL_UP, 3}, {IDC_APPEARANCE_LINES, 4},        {IDC_APPEARANCE_PLAIN_TEXT, 5},
    {IDC_APPEARANCE_ROTATION, 6}, {IDC_APPEARANCE_FOR_NEW_NOTES, 7},
};

DWORD& FlagOf(CAppearanceSettings& settings, int which)
{
    DWORD* flags[] = {&settings.hasBorder,       &settings.stayOnTop, &settings.showDate,
                      &settings.rollUp,          &settings.horizontalLines, &settings.plainText,
                      &settings.stylesInRotation, &settings.useForNewNotes};
    return *flags[which];
}

class CAppearancePage {
public:
    CAppearancePage(HWND page, CAppearanceSettings& settings) : m_page(page), m_settings(settings) {}

    void OnInitDialog();
    void OnCommand(int id, int code, LPARAM lParam);
    bool OnDrawItem(const DRAWITEMSTRUCT& item) const { return m_styles && m_styles->Draw(item); }
    void OnTransparency();
    void OnPreviewClick(POINT point, bool control, bool shift);
    void CopyTitle();
    void Unhook();
    void PaintPreview(HWND preview);
    void OnMouseMove(WPARAM keys, LPARAM point)
    {
        if (m_tips)
            m_tips->OnMouseMove(keys, point);
    }
    bool OverPreview() const;
    LRESULT TitleMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

    CAppearanceSettings& Settings() { return m_settings; }
    WNDPROC m_titleProc = nullptr;
    WNDPROC m_previewProc = nullptr;

private:
    HWND Item(int id) const { return GetDlgItem(m_page, id); }
    void SetControls();
    void SetTransparencyPosition(int position);
    void EnableTransparency();
    // The preview's parts may have moved: its tips follow them.
    void RedrawPreview();
    void ChooseBodyFont();
    void ChooseTitleFont();
    void ChooseColour(COLORREF& colour, const char* title);
    void ChooseTexture();

    void OnStyleClicked(int index);

    HWND m_page;
    CAppearanceSettings& m_settings;
    std::unique_ptr<CAppearanceStyles> m_styles;
    std::unique_ptr<CAppearanceTips> m_tips;
};

void FillCombo(HWND combo, UINT firstText, int count, bool gradientsMissing)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) {
        CResourceString text;
        std::string item = text.LoadString(instance, firstText + i);
        if (gradientsMissing && i >= 1 && i <= 3)
            item += " (disabled)";
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

void CAppearancePage::OnInitDialog()
{
    m_settings.pageInitialised = 1;
    HWND sheet = GetParent(m_page);
    if (m_settings.centred && *m_settings.centred == 0) {
        CenterWindowOverWindow(sheet, GetDesktopWindow());
        *m_settings.centred = 1;
    }
    SetWindowPos(sheet, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    FillCombo(Item(IDC_APPEARANCE_MARGIN), IDS_MARGIN_NONE, 5, false);
    FillCombo(Item(IDC_APPEARANCE_BACKGROUND), IDS_BACKGROUND_PLAIN, 6, GetGradientFillFunction() == nullptr);
    if (m_settings.textureId) {
        if (!FindTextureByNameHash(m_settings.textureFile, sizeof m_settings.textureFile, m_settings.textureId)) {
            m_settings.textureFile[0] = '\0';
            m_settings.backgroundKind = 0;
            m_settings.textureStretch = 0;
        }
    }
    SetDlgItemTextA(m_page, IDC_APPEARANCE_TITLE, m_settings.title);
    HWND title = Item(IDC_APPEARANCE_TITLE);
    SetPropA(title, kTitleProperty, this);
    m_titleProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(title, GWLP_WNDPROC));
    SetWindowLongPtrA(title, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AppearanceTitleProc));
    HWND preview = Item(IDC_APPEARANCE_PREVIEW);
    SetPropA(preview, kPreviewProperty, this);
    m_previewProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(preview, GWLP_WNDPROC));
    SetWindowLongPtrA(preview, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AppearancePreviewProc));

    HWND slider = Item(IDC_APPEARANCE_TRANSPARENCY);
    SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 90));
    SendMessageA(slider, TBM_SETTICFREQ, 5, 0);
    SendMessageA(slider, TBM_SETLINESIZE, 0, 5);
    SendMessageA(slider, TBM_SETPAGESIZE, 0, 5);
    m_tips = std::make_unique<CAppearanceTips>(m_page, preview, m_settings);
    SetControls();
    m_styles = std::make_unique<CAppearanceStyles>(m_page, m_settings, [this] { CopyTitle(); });
    SetFocus(Item(IDC_APPEARANCE_BORDER));
}

void CAppearancePage::RedrawPreview()
{
    HWND preview = Item(IDC_APPEARANCE_PREVIEW);
    InvalidateRect(preview, nullptr, FALSE);
    if (m_tips) {
        m_tips->Place(ComputePreviewRegions(preview, m_settings));
        m_tips->OnBackgroundKind();
    }
}

bool CAppearancePage::OverPreview() const
{
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT preview{};
    GetWindowRect(Item(IDC_APPEARANCE_PREVIEW), &preview);
    return PtInRect(&preview, cursor) != FALSE;
}

// Every control from the record.
void CAppearancePage::SetControls()
{
    for (const auto& box : kAppearanceFlagBoxes)
        CheckDlgButton(m_page, box[0], FlagOf(m_settings, box[1]) ? BST_CHECKED : 0);
    SendMessageA(Item(IDC_APPEARANCE_MARGIN), CB_SETCURSEL, m_settings.leftMarginKind, 0);
    SendMessageA(Item(IDC_APPEARANCE_BACKGROUND), CB_SETCURSEL, m_settings.backgroundKind, 0);
    SetTransparencyPosition(m_settings.transparency);
    EnableTransparency();
    RedrawPreview();
}

// The slider and the record keep the rounded value that the label shows.
void CAppearancePage::SetTransparencyPosition(int position)
{
    const int rounded = RoundTransparency(position);
    m_settings.transparency = static_cast<BYTE>(rounded);
    SendMessageA(Item(IDC_APPEARANCE_TRANSPARENCY), TBM_SETPOS, TRUE, rounded);
    char label[64];
    std::snprintf(label, sizeof label, "&Transparency         (%d%%)", rounded);
    SetDlgItemTextA(m_page, IDC_APPEARANCE_TRANSPARENCY_LABEL, label);
}

void CAppearancePage::OnTransparency()
{
    SetTransparencyPosition(static_cast<int>(SendMessageA(Item(IDC_APPEARANCE_TRANSPARENCY), TBM_GETPOS, 0, 0)));
}

// A see-through note needs layered windows; the transparent background makes
// the note's colour see-through instead of the whole note.
void CAppearancePage::EnableTransparency()
{
    const bool on = GetStartupValues().layeredWindows && m_settings.backgroundKind != 5;
    EnableWindow(Item(IDC_APPEARANCE_TRANSPARENCY), on);
    EnableWindow(Item(IDC_APPEARANCE_TRANSPARENCY_LABEL), on);
}

void CAppearancePage::CopyTitle()
{
    char title[41] = "";
    GetDlgItemTextA(m_page, IDC_APPEARANCE_TITLE, title, sizeof title);
    int end = lstrlenA(title);
    while (end > 0 && title[end - 1] == ' ')
        --end;
    // A title of blanks alone is kept as it is.
    if (end > 0)
        title[end] = '\0';
    CopyBounded(m_settings.title, title);
}

void CAppearancePage::Unhook()
{
    if (m_titleProc)
        SetWindowLongPtrA(Item(IDC_APPEARANCE_TITLE), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_titleProc));
    m_titleProc = nullptr;
}

void CAppearancePage::OnStyleClicked(int index)
{
    m_styles->LoadStyle(index);
    if (m_settings.styles[index].name[0] && !m_settings.styles[index].undefined)
        SetDlgItemTextA(m_page, IDC_APPEARANCE_TITLE, m_settings.title);
    SetControls();
    m_styles->UpdateTooltips();
}

void CAppearancePage::OnCommand(int id, int code, LPARAM lParam)
{
    if (m_styles && m_styles->OnCommand(id, static_cast<int>(lParam)))
        return;
    const int style = CAppearanceStyles::StyleOfButton(id);
    if (style >= 0 && code == BN_CLICKED) {
        OnStyleClicked(style);
        return;
    }
    for (const auto& box : kAppearanceFlagBoxes) {
        if (box[0] == id && code == BN_CLICKED) {
            FlagOf(m_settings, box[1]) = IsDlgButtonChecked(m_page, id) == BST_CHECKED ? 1 : 0;
            RedrawPreview();
            return;
        }
    }
    if (id == IDC_APPEARANCE_MARGIN && code == CBN_SELENDOK) {
        m_settings.leftMarginKind = static_cast<DWORD>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
        RedrawPreview();
    } else if (id == IDC_APPEARANCE_BACKGROUND && code == CBN_SELENDOK) {
        m_settings.backgroundKind = static_cast<DWORD>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
        if (m_settings.backgroundKind != 4)
            m_settings.textureFile[0] = '\0';
        EnableTransparency();
        RedrawPreview();
        if (m_settings.backgroundKind == 4)
            ChooseTexture();
    } else if (id == IDC_APPEARANCE_RESET && code == BN_CLICKED) {
        const CUserSettings& user = UserSettings();
        m_settings.leftMarginKind = user.note.leftMarginKind;
        m_settings.backgroundKind = user.note.backgroundKind;
        m_settings.horizontalLines = user.note.horizontalLines;
        m_settings.plainText = user.note.plainText;
        m_settings.stayOnTop = user.note.stayOnTop;
        m_settings.hasBorder = user.note.hasBorder;
        m_settings.showDate = user.note.showDate;
        m_settings.rollUp = user.note.rollUp;
        m_settings.bodyFont = user.note.bodyFont;
        m_settings.titleFont = user.note.titleFont;
        m_settings.textColor = user.note.textColor;
        m_settings.titleTextColor = user.note.titleTextColor;
        m_settings.titleBackgroundColor = user.note.titleColor;
        m_settings.backgroundColor = user.note.noteColor;
        m_settings.stylesInRotation = ConfigSettings().stylesInRotation;
        m_settings.textureFile[0] = '\0';
        m_settings.textureStretch = user.note.textureStretch;
        m_settings.transparency = user.note.transparency;
        // The picture of the defaults, when it is still in the folder.
        if (m_settings.backgroundKind == 4 &&
            !FindTextureByNameHash(m_settings.textureFile, sizeof m_settings.textureFile, user.note.textureId))
            m_settings.backgroundKind = 0;
        SetDlgItemTextA(m_page, IDC_APPEARANCE_TITLE, user.title);
        SetControls();
    }
}

void CAppearancePage::OnPreviewClick(POINT point, bool control, bool shift)
{
    HWND preview = Item(IDC_APPEARANCE_PREVIEW);
    MapWindowPoints(m_page, preview, &point, 1);
    RECT client{};
    GetClientRect(preview, &client);
    if (!PtInRect(&client, point))
        return;
    const bool gradients = GetGradientFillFunction() != nullptr;
    if (control && shift && gradients) {
        // A picture with a margin line goes back to plain colour too; a
        // picture alone is a plain click, which opens the picker.
        if (!(m_settings.backgroundKind == 4 && m_settings.leftMarginKind == 0)) {
            m_settings.backgroundKind = 0;
            m_settings.textureFile[0] = '\0';
            m_settings.leftMarginKind = 0;
            SetControls();
            return;
        }
    }
    if (control && !shift && gradients && m_settings.backgroundKind != 4) {
        m_settings.backgroundKind = (m_settings.backgroundKind + 1) % 4;
        SetControls();
        return;
    }
    if (shift && !control) {
        m_settings.leftMarginKind = (m_settings.leftMarginKind + 1) % 5;
        SetControls();
        return;
    }
    const PreviewRegions regions = ComputePreviewRegions(preview, m_settings);
    if (PtInRect(&regions.titleText, point))
        ChooseTitleFont();
    else if (PtInRect(&regions.titleBackground, point))
        ChooseColour(m_settings.titleBackgroundColor, "Select title background colour...");
    else if (PtInRect(&regions.text, point))
        ChooseBodyFont();
    else if (m_settings.backgroundKind == 4)
        ChooseTexture();
    else
        ChooseColour(m_settings.backgroundColor, "Select note background colour...");
    RedrawPreview();
}

void CAppearancePage::ChooseColour(COLORREF& colour, const char* title)
{
    ChoosePreviewColour(m_page, colour, title);
}

void CAppearancePage::ChooseBodyFont()
{
    ChoosePreviewFont(m_page, m_settings.bodyFont, m_settings.textColor, "Custom note text colour/font...");
}

void CAppearancePage::ChooseTitleFont()
{
    ChoosePreviewFont(m_page, m_settings.titleFont, m_settings.titleTextColor, "Select title text colour/font...");
}

void CAppearancePage::ChooseTexture()
{
    ChooseNoteTexture(m_page, m_settings);
    RedrawPreview();
}

void CAppearancePage::PaintPreview(HWND preview)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(preview, &paint);
    char title[41] = "";
    GetDlgItemTextA(m_page, IDC_APPEARANCE_TITLE, title, sizeof title);
    DrawAppearancePreview(preview, dc, m_settings, title);
    EndPaint(preview, &paint);
}

// The title: at most 40 characters, Enter and Tab move on, Escape cancels.
LRESULT CAppearancePage::TitleMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = m_titleProc;
    if (message == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS;
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_TAB)) {
        const bool back = wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0;
        if (HWND next = GetNextDlgTabItem(GetParent(m_page), edit, back))
            SetFocus(next);
        return 0;
    }
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        PostMessageA(GetParent(m_page), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return 0;
    }
    if (message == WM_CHAR) {
        if (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE)
            return 0;
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (wParam != VK_BACK && GetWindowTextLengthA(edit) >= kTitleChars && start == end) {
            MessageBeep(MB_ICONEXCLAMATION);
            return 0;
        }
        const LRESULT result = CallWindowProcA(previous, edit, message, wParam, lParam);
        RedrawPreview();
        return result;
    }
    return CallWindowProcA(previous, edit, message, wParam, lParam);
}

CAppearancePage* AppearancePageOf(HWND window, const char* property)
{
    return static_cast<CAppearancePage*>(GetPropA(window, property));
}

INT_PTR AppearancePageAnswer(HWND page, LONG_PTR result)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR OnAppearancePageNotify(HWND page, CAppearancePage& appearance, const NMHDR& header)
{
    switch (header.code) {
    case PSN_KILLACTIVE:
        appearance.CopyTitle();
        return AppearancePageAnswer(page, FALSE);
    case PSN_APPLY:
        appearance.CopyTitle();
        appearance.Unhook();
        appearance.Settings().applied = 1;
        return AppearancePageAnswer(page, PSNRET_NOERROR);
    case PSN_RESET:
        appearance.Unhook();
        appearance.Settings().applied = 0;
        return TRUE;
    case PSN_HELP:
        ShowHelpTopic(page, IDH_APPEARANCE_PAGE);
        return TRUE;
    default:
        return FALSE;
    }
}
}

LRESULT CALLBACK AppearanceTitleProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    CAppearancePage* page = AppearancePageOf(edit, kTitleProperty);
    if (!page || !page->m_titleProc)
        return DefWindowProcA(edit, message, wParam, lParam);
    return GuardCallback<LRESULT>(0, [&] { return page->TitleMessage(edit, message, wParam, lParam); });
}

LRESULT CALLBACK AppearancePreviewProc(HWND preview, UINT message, WPARAM wParam, LPARAM lParam)
{
    CAppearancePage* page = AppearancePageOf(preview, kPreviewProperty);
    if (!page || !page->m_previewProc)
        return DefWindowProcA(preview, message, wParam, lParam);
    if (message == WM_PAINT) {
        GuardCallback([&] { page->PaintPreview(preview); });
        return 0;
    }
    return CallWindowProcA(page->m_previewProc, preview, message, wParam, lParam);
}

INT_PTR CALLBACK AppearancePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            auto* settings =
                reinterpret_cast<CAppearanceSettings*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
            auto* appearance = new CAppearancePage(page, *settings);
            SetPropA(page, kAppearancePageProperty, appearance);
            appearance->OnInitDialog();
            return FALSE;
        }
        CAppearancePage* appearance = AppearancePageOf(page, kAppearancePageProperty);
        if (!appearance)
            return FALSE;
        switch (message) {
        case WM_COMMAND:
            appearance->OnCommand(LOWORD(wParam), HIWORD(wParam), lParam);
            return TRUE;
        case WM_DRAWITEM:
            return appearance->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
        case WM_NOTIFY:
            return OnAppearancePageNotify(page, *appearance, *reinterpret_cast<const NMHDR*>(lParam));
        case WM_HSCROLL:
            appearance->OnTransparency();
            return TRUE;
        case WM_MOUSEMOVE:
            appearance->OnMouseMove(wParam, lParam);
            return FALSE;
        case WM_SETCURSOR:
            // A click on the preview does something: the hand says so.
            if (!appearance->OverPreview())
                return FALSE;
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return AppearancePageAnswer(page, TRUE);
        case WM_LBUTTONDOWN:
            appearance->OnPreviewClick({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))},
                                       (wParam & MK_CONTROL) != 0, (wParam & MK_SHIFT) != 0);
            return TRUE;
        case WM_HELP:
            ShowHelpTopic(page, IDH_APPEARANCE_PAGE);
            return TRUE;
        case WM_DESTROY: {
            appearance->Unhook();
            HWND preview = GetDlgItem(page, IDC_APPEARANCE_PREVIEW);
            SetWindowLongPtrA(preview, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(appearance->m_previewProc));
            RemovePropA(preview, kPreviewProperty);
            RemovePropA(GetDlgItem(page, IDC_APPEARANCE_TITLE), kTitleProperty);
            RemovePropA(page, kAppearancePageProperty);
            delete appearance;
            return FALSE;
        }
        default:
            return FALSE;
        }
    });
}
