#include "foundation/win/ListBoxCtl.h"

#include "foundation/bytes/GenericException.h"

namespace {
int CheckedIndex(LRESULT result, const char* failureText)
{
    if (result == LB_ERR || result == LB_ERRSPACE)
        throw CGenericException(failureText);
    return static_cast<int>(result);
}
}

int CListBoxCtl::AddString(const char* text)
{
    return CheckedIndex(SendMessageA(m_window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)),
                        "Unknown Exception when adding item to listbox ");
}

int CListBoxCtl::InsertString(const char* text)
{
    return CheckedIndex(SendMessageA(m_window, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text)),
                        "Unknown Exception when inserting item to listbox ");
}

int CListBoxCtl::AppendString(const char* text)
{
    WPARAM end = static_cast<WPARAM>(GetCount());
    return CheckedIndex(SendMessageA(m_window, LB_INSERTSTRING, end, reinterpret_cast<LPARAM>(text)),
                        "Unknown Exception when appending item to listbox ");
}

LRESULT CListBoxCtl::SetItemData(int index, LPARAM data)
{
    return SendMessageA(m_window, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
}

LRESULT CListBoxCtl::GetItemData(int index)
{
    return SendMessageA(m_window, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

LRESULT CListBoxCtl::Select(int index)
{
    return SendMessageA(m_window, LB_SETSEL, TRUE, static_cast<LPARAM>(index));
}

int CListBoxCtl::GetSelItems(int* indexes, int capacity)
{
    int count = GetSelCount();
    if (count > capacity)
        count = capacity;
    if (count <= 0)
        return 0;
    LRESULT got = SendMessageA(m_window, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(indexes));
    return got == LB_ERR ? 0 : static_cast<int>(got);
}

int CListBoxCtl::GetCount()
{
    return static_cast<int>(SendMessageA(m_window, LB_GETCOUNT, 0, 0));
}

int CListBoxCtl::GetSelCount()
{
    LRESULT count = SendMessageA(m_window, LB_GETSELCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}
