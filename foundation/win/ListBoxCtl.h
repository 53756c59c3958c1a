#pragma once

#include <windows.h>

#include "foundation/bytes/GenericException.h"
#include "foundation/win/DialogControls.h"

// A list box of a dialog.
class CListBoxCtl : public CWindowCtl {
public:
    using CWindowCtl::CWindowCtl;

    // Each returns the new item's index; a refusal throws.
    int AddString(const char* text);
    int InsertString(const char* text);  // at the top
    int AppendString(const char* text);  // after the last item

    LRESULT SetItemData(int index, LPARAM data);
    LRESULT GetItemData(int index);
    LRESULT Select(int index);
    // Fills the indexes of the selected items (at most capacity); returns how many.
    int GetSelItems(int* indexes, int capacity);
    int GetCount();
    int GetSelCount();  // 0 on error
};
