#include "noteprops/AppearanceStyles.h"

#include <string>

#include "foundation/bytes/MessageBoxes.h"
#include "noteprops/AppearanceSettings.h"
#include "noteprops/StyleTextDialog.h"
#include "resources/ids/NoteSettingsIds.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "store/StyleStorage.h"

namespace {
const int kButtonIds[9] = {IDC_APPEARANCE_STYLE_1, IDC_APPEARANCE_STYLE_2, IDC_APPEARANCE_STYLE_3,
                           IDC_APPEARANCE_STYLE_4, IDC_APPEARANCE_STYLE_5, IDC_APPEARANCE_STYLE_6,
                           IDC_APPEARANCE_STYLE_7, IDC_APPEARANCE_STYLE_8, IDC_APPEARANCE_STYLE_9};

// The user's texture, found again by its name; gone, the note goes plain.
void ResolveTexture(CAppearanceSettings& settings)
{
    settings.textureFile[0] = '\0';
    if (settings.textureId &&
        FindTextureByNameHash(settings.textureFile, sizeof settings.textureFile, settings.textureId))
        return;
    settings.textureId = 0;
    settings.textureFile[0] = '\0';
    settings.backgroundKind = settings.backgroundKind == 4 ? 0 : settings.backgroundKind;
    settings.textureStretch = 0;
}

// The record's looks as a style, with its name and text.
CNoteStyle StyleOfRecord(const CAppearanceSettings& settings, const char* name, const char* text)
{
    CNoteStyle style;
    style.hasBorder = settings.hasBorder;
    style.stayOnTop = settings.stayOnTop;
    style.showDate = settings.showDate;
    style.rollUp = settings.rollUp;
    style.horizontalLines = settings.horizontalLines;
    style.plainText = settings.plainText;
    style.leftMarginKind = settings.leftMarginKind;
    style.backgroundKind = settings.backgroundKind;
    style.textureId = TextureIdOfFile(settings.textureFile);
    style.textureStretch = settings.textureStretch;
    style.transparency = settings.transparency;
    style.textColor = settings.textColor;
    style.titleTextColor = settings.titleTextColor;
    style.backgroundColor = settings.backgroundColor;
    style.titleBackgroundColor = settings.titleBackgroundColor;
    style.titleFont = settings.titleFont;
    style.bodyFont = settings.bodyFont;
    style.SetName(name);
    style.SetText(text);
    const SIZE size = NoteSizeOf(settings);
    style.noteWidth = static_cast<WORD>(size.cx);
    style.noteHeight = static_cast<WORD>(size.cy);
    style.isProtected = settings.isProtected;
    style.undefined = 0;
    return style;
}
}

CAppearanceStyles::CAppearanceStyles(HWND page, CAppearanceSettings& settings, std::function<void()> copyTitle)
    : m_page(page), m_settings(settings), m_copyTitle(std::move(copyTitle))
{
    for (int i = 0; i < 9; ++i) {
        m_buttons[i] = std::make_unique<CDlgSchemeButton>(page, kButtonIds[i]);
        m_buttons[i]->SetStyle(m_settings.styles[i], i);
        SetWindowPos(m_buttons[i]->Window(), nullptr, 0, 0, 24, 24, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_buttons[i]->UpdateTooltip();
        ShowMark(i);
    }
}

int CAppearanceStyles::StyleOfButton(int controlId)
{
    for (int i = 0; i < 9; ++i) {
        if (kButtonIds[i] == controlId)
            return i;
    }
    return -1;
}

bool CAppearanceStyles::Draw(const DRAWITEMSTRUCT& item) const
{
    const int index = StyleOfButton(static_cast<int>(item.CtlID));
    if (index < 0)
        return false;
    m_buttons[index]->Draw(item);
    return true;
}

void CAppearanceStyles::UpdateTooltips()
{
    for (auto& button : m_buttons)
        button->UpdateTooltip();
}

void CAppearanceStyles::ShowMark(int index)
{
    ShowWindow(GetDlgItem(m_page, IDC_APPEARANCE_MARK_1 - index), m_settings.styles[index].HasText() ? SW_SHOW : SW_HIDE);
}

void CAppearanceStyles::LoadStyle(int index)
{
    const CNoteStyle& style = m_settings.styles[index];
    m_settings.currentStyle = index;
    m_settings.backgroundColor = style.backgroundColor;
    m_settings.titleBackgroundColor = style.titleBackgroundColor;
    if (style.undefined)
        return;
    m_settings.hasBorder = style.hasBorder;
    m_settings.stayOnTop = style.stayOnTop;
    m_settings.showDate = style.showDate;
    m_settings.rollUp = style.rollUp;
    m_settings.horizontalLines = style.horizontalLines;
    m_settings.plainText = style.plainText;
    m_settings.isProtected = style.isProtected;
    m_settings.leftMarginKind = style.leftMarginKind;
    m_settings.backgroundKind = style.backgroundKind;
    m_settings.textureId = style.textureId;
    m_settings.textureStretch = style.textureStretch;
    m_settings.transparency = style.transparency;
    if (style.name[0])
        lstrcpynA(m_settings.title, style.name, sizeof m_settings.title);
    m_settings.textColor = style.textColor;
    m_settings.titleTextColor = style.titleTextColor;
    m_settings.titleFont = style.titleFont;
    m_settings.bodyFont = style.bodyFont;
    ResolveTexture(m_settings);
}

bool CAppearanceStyles::OnCommand(int id, int index)
{
    if (index < 0 || index > 8)
        return false;
    CDlgSchemeButton& button = *m_buttons[index];
    switch (id) {
    case ID_STYLE_SAVE:
    case ID_STYLE_SAVE_WITH_TEXT:
        SaveAsStyle(index, id == ID_STYLE_SAVE_WITH_TEXT);
        return true;
    case ID_STYLE_EDIT_TEXT:
        EditText(index);
        return true;
    case ID_STYLE_UNDO:
        m_settings.styles[index] = button.UndoCopy();
        button.Undo();
        StoreStyle(index);
        return true;
    case ID_STYLE_RESET:
        m_settings.styles[index] = ConfigSettings().styles[index];
        button.SaveForUndo(CDlgSchemeButton::kUndoReset);
        StoreStyle(index);
        return true;
    default:
        return false;
    }
}

void CAppearanceStyles::SaveAsStyle(int index, bool withText)
{
    m_copyTitle();
    const CNoteStyle& old = m_settings.styles[index];
    std::string text = old.HasText() ? old.GetText() : "";
    if (withText) {
        const std::string note = NoteRichTextOf(m_settings);
        if (note.size() > kMaxStyleTextBytes) {
            const std::string message = StyleTextTooLargeMessage("note", note.size()) +
                                        "\r\n\r\n Still, your style has been saved but without text.";
            ShowMessageBox(m_page, message.c_str(), ProgramTitle, kMbIconExclamation);
            text.clear();
        } else if (!old.HasText()) {
            text = note;
        } else {
            const char question[] =
                "        The style already has some text, do you want to overwrite it?\r\n\r\n Please click 'Yes' to "
                "overwrite the style current text with the content of the note or\r\n     click 'No' to keep the "
                "style current text unchanged.";
            if (ShowMessageBox(m_page, question, ProgramTitle, kMbYesNo | kMbIconQuestion | kMbDefButton2) == kIdYes)
                text = note;
        }
    }
    // Only a style with a text is named after the note.
    const char* name = text.empty() ? "" : m_settings.title;
    CNoteStyle saved = StyleOfRecord(m_settings, name, text.c_str());
    m_settings.styles[index] = saved;
    m_buttons[index]->SaveForUndo(CDlgSchemeButton::kUndoSave);
    StoreStyle(index);
}

void CAppearanceStyles::EditText(int index)
{
    CStyleTextParams params;
    params.styleIndex = index;
    params.style = m_settings.styles[index];
    const CNoteStyle& old = m_settings.styles[index];
    params.text = old.HasText() ? old.GetText() : "";
    if (RunStyleTextDialog(m_page, params) != 1)
        return;
    const bool changed = old.HasText() != !params.text.empty() ||
                         (old.HasText() && lstrcmpiA(old.GetText(), params.text.c_str()) != 0);
    if (changed)
        m_buttons[index]->SaveForUndo(CDlgSchemeButton::kUndoText);
    m_settings.styles[index].SetText(params.text.c_str());
    StoreStyle(index);
}

void CAppearanceStyles::StoreStyle(int index)
{
    UserSettings().styles[index] = m_settings.styles[index];
    m_buttons[index]->SetStyle(m_settings.styles[index], index);
    ShowMark(index);
    m_buttons[index]->UpdateTooltip();
    SaveV6Style(index);
}
