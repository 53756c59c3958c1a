#include "noteprops/StyleTextDialog.h"

#include <richedit.h>

#include <cstdio>
#include <memory>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/DlgRichEdit.h"
#include "foundation/win/FontConversion.h"
#include "foundation/win/FontDialog.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/RichEditLines.h"
#include "foundation/win/RichTextStream.h"
#include "resources/ids/StyleTextIds.h"
#include "store/StyleStorage.h"

namespace {
const char kDialogProperty[] = "QnStyleTextDialog";

const struct {
    int id;
    const char* text;
} kInsertions[] = {
    {IDC_STYLE_TEXT_DATE, " %D"},    {IDC_STYLE_TEXT_TIME, " %T"},     {IDC_STYLE_TEXT_DAY_OF_WEEK, " %DOW"},
    {IDC_STYLE_TEXT_DAY, " %DD"},    {IDC_STYLE_TEXT_MONTH, " %MMM"},  {IDC_STYLE_TEXT_YEAR, " %YYYY"},
    {IDC_STYLE_TEXT_HOUR, " %HH"},   {IDC_STYLE_TEXT_MINUTE, " %MIN"}, {IDC_STYLE_TEXT_CURSOR, " %C"},
};

const struct {
    int button;
    UINT bitmap;
} kFormatButtons[] = {
    {ID_STYLE_TEXT_BOLD, IDB_STYLE_TEXT_BOLD},
    {ID_STYLE_TEXT_ITALIC, IDB_STYLE_TEXT_ITALIC},
    {ID_STYLE_TEXT_UNDERLINE, IDB_STYLE_TEXT_UNDERLINE},
    {IDC_STYLE_TEXT_FONT, IDB_STYLE_TEXT_FONT},
};

class CStyleTextDialog {
public:
    CStyleTextDialog(HWND dialog, CStyleTextParams& params)
        : m_dialog(dialog), m_params(params), m_edit(dialog, IDC_STYLE_TEXT_EDIT)
    {
    }
    ~CStyleTextDialog()
    {
        for (HBITMAP bitmap : m_bitmaps)
            DeleteObject(bitmap);
    }
    CStyleTextDialog(const CStyleTextDialog&) = delete;
    CStyleTextDialog& operator=(const CStyleTextDialog&) = delete;

    void OnInitDialog();
    void OnCommand(int id);

private:
    HWND Edit() const { return m_edit.GetWindow(); }
    void Toggle(DWORD mask, DWORD effect) const;
    void ChooseSelectionFont() const;
    void Save();

    HWND m_dialog;
    CStyleTextParams& m_params;
    CDlgRichEdit m_edit;
    HBITMAP m_bitmaps[4] = {};
};

void CStyleTextDialog::OnInitDialog()
{
    const CNoteStyle& style = m_params.style;
    std::string caption = "Text of Style " + std::to_string(m_params.styleIndex + 1);
    const std::string name = style.name;
    if (name.find_first_not_of(' ') != std::string::npos)
        caption += " - '" + name + "'";
    SetWindowTextA(m_dialog, caption.c_str());

    DlgRichEditBackground background;
    background.color = style.backgroundColor;
    background.gradientKind = style.backgroundKind >= 1 && style.backgroundKind <= 3
                                  ? static_cast<int>(style.backgroundKind) : 0;
    char texture[MAX_PATH] = "";
    if (style.textureId && FindTextureByNameHash(texture, sizeof texture, style.textureId)) {
        background.textureName = texture;
        background.stretchTexture = style.textureStretch != 0;
    }
    // Ruled as the style's notes are, in the tint of its text colour: a line
    // under each line of the text, and below it a line of the style's font
    // apart (of the edit's, for a style without a font of its own).
    if (style.horizontalLines) {
        CHARFORMATA format{};
        LogFontToCharFormat(nullptr, &format, style.bodyFont);
        format.yHeight = InWholeHalfPoints(format.yHeight);
        background.ruled = true;
        background.lineHeight = style.bodyFont.lfFaceName[0] ? RichEditLineHeight(format) : 0;
        background.textColor = style.textColor;
    }
    m_edit.SetBackground(background);
    if (!m_edit.HasBackgroundPicture())
        SendMessageA(Edit(), EM_SETBKGNDCOLOR, 0, style.backgroundColor);

    SendMessageA(Edit(), EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kMaxStyleTextBytes));
    SETTEXTEX set{ST_DEFAULT, CP_ACP};
    SendMessageA(Edit(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set),
                 reinterpret_cast<LPARAM>(m_params.text.c_str()));
    SendMessageA(Edit(), EM_SETSEL, 0, 0);

    // The pictures' light grey becomes the buttons' face.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (size_t i = 0; i < 4; ++i) {
        HBITMAP loaded = LoadBitmapA(instance, MAKEINTRESOURCEA(kFormatButtons[i].bitmap));
        if (!loaded)
            continue;
        m_bitmaps[i] = CopyBitmap(loaded);
        DeleteObject(loaded);
        ReplaceBitmapColor(m_bitmaps[i], RGB(0xC0, 0xC0, 0xC0), GetSysColor(COLOR_BTNFACE));
        SendDlgItemMessageA(m_dialog, kFormatButtons[i].button, BM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(m_bitmaps[i]));
    }
    SetFocus(Edit());
}

// The effect is switched where the whole selection has it, set otherwise.
void CStyleTextDialog::Toggle(DWORD mask, DWORD effect) const
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(Edit(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    CHARFORMAT2A change{};
    change.cbSize = sizeof change;
    change.dwMask = mask;
    change.dwEffects = (format.dwMask & mask) ? (format.dwEffects ^ effect) & effect : effect;
    SendMessageA(Edit(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&change));
    SetFocus(Edit());
}

void CStyleTextDialog::ChooseSelectionFont() const
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(Edit(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    LOGFONTA font{};
    lstrcpynA(font.lfFaceName, format.szFaceName, LF_FACESIZE);
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(format.yHeight, GetDeviceCaps(screen, LOGPIXELSY), 1440);
    ReleaseDC(nullptr, screen);
    font.lfWeight = (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (format.dwEffects & CFE_ITALIC) ? 1 : 0;
    font.lfUnderline = (format.dwEffects & CFE_UNDERLINE) ? 1 : 0;
    font.lfStrikeOut = (format.dwEffects & CFE_STRIKEOUT) ? 1 : 0;
    font.lfCharSet = format.bCharSet;
    LOGFONTA chosen = font;
    COLORREF colour = format.crTextColor;
    if (!ChooseFontWithTitle(&chosen, &colour, m_dialog, font, format.crTextColor, nullptr))
        return;
    CHARFORMAT2A change{};
    change.cbSize = sizeof change;
    change.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR |
                    CFM_CHARSET;
    lstrcpynA(change.szFaceName, chosen.lfFaceName, LF_FACESIZE);
    screen = GetDC(nullptr);
    change.yHeight = MulDiv(chosen.lfHeight < 0 ? -chosen.lfHeight : chosen.lfHeight, 1440,
                            GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    change.dwEffects = (chosen.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (chosen.lfItalic ? CFE_ITALIC : 0) |
                       (chosen.lfUnderline ? CFE_UNDERLINE : 0) | (chosen.lfStrikeOut ? CFE_STRIKEOUT : 0);
    change.crTextColor = colour;
    change.bCharSet = chosen.lfCharSet;
    SendMessageA(Edit(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&change));
    SetFocus(Edit());
}

// A text that does not fit a style is refused and the one before kept; the
// dialog closes either way.
void CStyleTextDialog::Save()
{
    const DWORD size = GetRTFSize(Edit());
    if (size <= kMaxStyleTextBytes) {
        GETTEXTLENGTHEX length{GTL_NUMCHARS, CP_ACP};
        const LRESULT characters =
            SendMessageA(Edit(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
        m_params.text = characters > 0 ? GetRTFText(Edit()) : std::string();
    } else {
        const std::string message = StyleTextTooLargeMessage("style", size);
        ShowMessageBox(m_dialog, message.c_str(), ProgramTitle, kMbIconExclamation);
    }
    EndDialog(m_dialog, 1);
}

void CStyleTextDialog::OnCommand(int id)
{
    for (const auto& insertion : kInsertions) {
        if (insertion.id == id) {
            SendMessageA(Edit(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(insertion.text));
            SetFocus(Edit());
            return;
        }
    }
    switch (id) {
    case ID_STYLE_TEXT_BOLD:
        Toggle(CFM_BOLD, CFE_BOLD);
        break;
    case ID_STYLE_TEXT_ITALIC:
        Toggle(CFM_ITALIC, CFE_ITALIC);
        break;
    case ID_STYLE_TEXT_UNDERLINE:
        Toggle(CFM_UNDERLINE, CFE_UNDERLINE);
        break;
    case IDC_STYLE_TEXT_FONT:
        ChooseSelectionFont();
        break;
    case IDC_STYLE_TEXT_SAVE:
        Save();
        break;
    case IDCANCEL:
        EndDialog(m_dialog, 0);
        break;
    case 9:
        ShowHelpTopic(m_dialog, IDH_STYLE_TEXT);
        break;
    default:
        break;
    }
}

CStyleTextDialog* StyleTextDialogOf(HWND dialog)
{
    return static_cast<CStyleTextDialog*>(GetPropA(dialog, kDialogProperty));
}
}

std::string StyleTextTooLargeMessage(const char* what, size_t size)
{
    char kilobytes[32];
    std::snprintf(kilobytes, sizeof kilobytes, "%.1f", static_cast<double>(size) / 1024.0);
    return std::string("Sorry, the text of the ") + what + " is too large (" + kilobytes +
           " KBytes).\r\nThe style is allowed to have maximum 4 KBytes of text.";
}

INT_PTR CALLBACK StyleTextDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            auto* self = new CStyleTextDialog(dialog, *reinterpret_cast<CStyleTextParams*>(lParam));
            SetPropA(dialog, kDialogProperty, self);
            self->OnInitDialog();
            return FALSE;
        }
        CStyleTextDialog* self = StyleTextDialogOf(dialog);
        if (!self)
            return FALSE;
        switch (message) {
        case WM_COMMAND:
            self->OnCommand(LOWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            // The edit's answer when its ruled lines ask how high its text is.
            return TakeTextHeightNotice(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
        case WM_HELP:
            ShowHelpTopic(dialog, IDH_STYLE_TEXT);
            return TRUE;
        case WM_DESTROY:
            RemovePropA(dialog, kDialogProperty);
            delete self;
            return FALSE;
        default:
            return FALSE;
        }
    });
}

INT_PTR RunStyleTextDialog(HWND owner, CStyleTextParams& params)
{
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STYLE_TEXT), owner,
                           &StyleTextDialogProc, reinterpret_cast<LPARAM>(&params));
}
