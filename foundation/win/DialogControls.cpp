#include "foundation/win/DialogControls.h"

#include <commctrl.h>

#include "foundation/bytes/GenericException.h"

void CWindowCtl::SetText(const char* text)
{
    SendMessageA(m_window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

int CWindowCtl::GetText(char* buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = 0;
    return static_cast<int>(SendMessageA(m_window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buffer)));
}

int CComboBoxCtl::AddString(const char* text)
{
    LRESULT index = SendMessageA(m_window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index == CB_ERR || index == CB_ERRSPACE)
        throw CGenericException("Adding item to combobox failed");
    return static_cast<int>(index);
}

int CComboBoxCtl::SetCurSel(int index)
{
    return static_cast<int>(SendMessageA(m_window, CB_SETCURSEL, index, 0));
}

int CComboBoxCtl::GetCurSel()
{
    return static_cast<int>(SendMessageA(m_window, CB_GETCURSEL, 0, 0));
}

bool CButtonCtl::IsChecked()
{
    return SendMessageA(m_window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CButtonCtl::SetCheck(int flag)
{
    SendMessageA(m_window, BM_SETCHECK, flag == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CRadioGroup::Check(int n)
{
    CheckRadioButton(m_dialog, m_firstId, m_lastId, m_firstId + n - 1);
}

void CTrackbarCtl::SetPos(int position)
{
    SendMessageA(m_window, TBM_SETPOS, TRUE, position);
}
