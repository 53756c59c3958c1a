#pragma once

#include <windows.h>

#include <string>
#include <vector>

// List views, headers and status bars of another process, read and driven
// from outside: the structures their messages point to are made in the
// program's own memory, where the control can read and fill them.

// Memory in another process, freed when the object goes.
class RemoteBlock {
public:
    RemoteBlock(DWORD process, size_t size);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    void* Address() const { return m_address; }
    LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(m_address) + offset); }
    bool Write(const void* bytes, size_t size, size_t offset = 0);
    bool Read(void* bytes, size_t size, size_t offset = 0) const;

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
};

int ListRowCount(HWND list);
// The text of a cell (column = sub-item), as the list shows it.
std::string ListCell(DWORD process, HWND list, int row, int column);
// Every row's text of one column, top to bottom.
std::vector<std::string> ListColumn(DWORD process, HWND list, int column);
// Selects exactly the rows.
void SelectListRows(DWORD process, HWND list, const std::vector<int>& rows);
int ListColumnWidth(HWND list, int column);
// The title of a column, as its header shows it.
std::string ListColumnTitle(DWORD process, HWND list, int column);
// The columns' ids in display order.
std::vector<int> ListColumnOrder(DWORD process, HWND list);
// A click on the header item of the column, as the mouse gives it.
void ClickHeaderItem(DWORD process, HWND list, int column);
// The header item of the column dragged by the mouse onto the place of
// another column.
void DragHeaderItem(DWORD process, HWND list, int column, int ontoColumn);
// The header item's image when it shows one, else -1.
int HeaderItemImage(DWORD process, HWND list, int column);
// The column's divider dragged by the mouse until the column is that wide.
void DragColumnDivider(DWORD process, HWND list, int column, int width);
// The cell's rectangle on the screen.
RECT ListCellRect(DWORD process, HWND list, int row, int column);
// The text of the first part of a status bar.
std::string StatusBarText(DWORD process, HWND status);
