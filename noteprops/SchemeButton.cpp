#include "noteprops/SchemeButton.h"

#include <commctrl.h>

#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/Tooltips.h"
#include "noteprops/StyleSample.h"
#include "resources/ids/NoteSettingsIds.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"

namespace {
const char kSchemeButtonProperty[] = "QnSchemeButton";

const char* SchemeButtonUndoText(BYTE kind)
{
    switch (kind) {
    case CDlgSchemeButton::kUndoSave:
        return "Undo 'Save as new style'";
    case CDlgSchemeButton::kUndoReset:
        return "Undo 'Reset style to standard'";
    case CDlgSchemeButton::kUndoText:
        return "Undo 'modify style text'";
    default:
        return nullptr;
    }
}
}

CDlgSchemeButton::CDlgSchemeButton(HWND dialog, int controlId)
    : m_dialog(dialog), m_id(controlId), m_button(GetDlgItem(dialog, controlId))
{
    m_tooltip = CreateTooltipControl(dialog);
    if (m_tooltip)
        SendMessageA(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 30000);
    SetPropA(m_button, kSchemeButtonProperty, this);
    m_oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(m_button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CDlgSchemeButton::WndProc)));
}

CDlgSchemeButton::~CDlgSchemeButton()
{
    if (m_oldProc)
        SetWindowLongPtrA(m_button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
    RemovePropA(m_button, kSchemeButtonProperty);
    if (m_tooltip)
        DestroyWindow(m_tooltip);
}

void CDlgSchemeButton::SetStyle(const CNoteStyle& style, int index)
{
    m_current = style;
    m_index = index;
    InvalidateRect(m_button, nullptr, FALSE);
}

void CDlgSchemeButton::SaveForUndo(UndoKind kind)
{
    m_undo = m_current;
    m_undoKind = kind;
}

void CDlgSchemeButton::Undo()
{
    m_undoKind = kNoUndo;
    m_current = m_undo;
}

void CDlgSchemeButton::Draw(const DRAWITEMSTRUCT& item) const
{
    DrawStyleSample(item.hDC, 0, 0, item.rcItem, (item.itemState & ODS_SELECTED) != 0, true, m_current);
}

void CDlgSchemeButton::UpdateTooltip()
{
    std::string text = "Style " + std::to_string(m_index + 1);
    std::string name = m_current.name;
    if (name.find_first_not_of(' ') != std::string::npos)
        text += " - '" + name + "'";
    if (m_current.HasText())
        text += " (has text)";
    text += "\r\nRight click to replace";
    if (text.size() > 100)
        text.resize(100);
    if (!m_tooltip)
        return;
    if (!m_toolAdded)
        m_toolAdded = AddTooltipSubclass(m_tooltip, text.c_str(), m_dialog, m_button) != 0;
    else
        UpdateTooltipSubclassText(m_tooltip, text.c_str(), m_dialog, m_button);
}

void CDlgSchemeButton::ShowMenu(POINT at)
{
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_STYLE_BUTTON));
    if (!loaded) {
        ShowErrorMessage(m_dialog, "CDlgSchemeButton::LoadMenu failed", ProgramTitle);
        return;
    }
    HMENU menu = GetSubMenu(loaded, 0);
    if (const char* undo = SchemeButtonUndoText(m_undoKind))
        ModifyMenuA(menu, ID_STYLE_UNDO, MF_BYCOMMAND | MF_STRING, ID_STYLE_UNDO, undo);
    const bool resetDone =
        m_undoKind == kUndoReset || (m_index >= 0 && m_current == ConfigSettings().styles[m_index]);
    EnableMenuItem(menu, ID_STYLE_EDIT_TEXT, MF_BYCOMMAND | (m_current.HasText() ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, ID_STYLE_UNDO, MF_BYCOMMAND | (m_undoKind == kNoUndo ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(menu, ID_STYLE_RESET, MF_BYCOMMAND | (resetDone ? MF_GRAYED : MF_ENABLED));
    m_menu.AttachPlainItems(GetModuleHandleA(nullptr), menu);
    SetFocus(m_button);
    HWND sheet = GetAncestor(m_button, GA_ROOT);
    if (GetForegroundWindow() != sheet)
        SetForegroundWindow(sheet);
    m_menuRaised = false;
    ClientToScreen(m_button, &at);
    // The chosen command comes back to the button as WM_COMMAND.
    m_menu.TrackPopup(TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, m_button);
    m_menu.Detach();
    DestroyMenu(loaded);
}

LRESULT CDlgSchemeButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_RBUTTONDOWN:
        if (m_index >= 0 && m_index < 9)
            ShowMenu({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_ENTERIDLE:
        // The sheet stays on top of other windows; its menus must show above it.
        if (wParam == MSGF_MENU && lParam && !m_menuRaised) {
            m_menuRaised = true;
            SetWindowPos(reinterpret_cast<HWND>(lParam), HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        break;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType == ODT_MENU) {
            m_menu.MeasureItem(measure);
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType == ODT_MENU) {
            m_menu.DrawItem(draw);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_STYLE_SAVE:
        case ID_STYLE_SAVE_WITH_TEXT:
        case ID_STYLE_EDIT_TEXT:
        case ID_STYLE_UNDO:
        case ID_STYLE_RESET:
            SendMessageA(m_dialog, WM_COMMAND, LOWORD(wParam), m_index);
            return 0;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return CallWindowProcA(m_oldProc, m_button, message, wParam, lParam);
}

LRESULT CALLBACK CDlgSchemeButton::WndProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CDlgSchemeButton*>(GetPropA(button, kSchemeButtonProperty));
    if (!self || !self->m_oldProc)
        return DefWindowProcA(button, message, wParam, lParam);
    return GuardCallback<LRESULT>(0, [&] { return self->OnMessage(message, wParam, lParam); });
}
