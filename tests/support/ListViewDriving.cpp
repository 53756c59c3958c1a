#include "support/ListViewDriving.h"

#include <commctrl.h>

RemoteBlock::RemoteBlock(DWORD process, size_t size)
{
    m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (m_process)
        m_address = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBlock::~RemoteBlock()
{
    if (m_address)
        VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    if (m_process)
        CloseHandle(m_process);
}

bool RemoteBlock::Write(const void* bytes, size_t size, size_t offset)
{
    SIZE_T written = 0;
    return m_address &&
           WriteProcessMemory(m_process, static_cast<char*>(m_address) + offset, bytes, size, &written) &&
           written == size;
}

bool RemoteBlock::Read(void* bytes, size_t size, size_t offset) const
{
    SIZE_T read = 0;
    return m_address &&
           ReadProcessMemory(m_process, static_cast<char*>(m_address) + offset, bytes, size, &read) && read == size;
}

namespace {
const DWORD kAnswerMs = 10000;

LRESULT AskListView(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &answer);
    return static_cast<LRESULT>(answer);
}
}

int ListRowCount(HWND list)
{
    return static_cast<int>(AskListView(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListCell(DWORD process, HWND list, int row, int column)
{
    const size_t textSize = 512;
    RemoteBlock block(process, sizeof(LVITEMA) + textSize);
    LVITEMA item = {};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(textSize);
    item.pszText = reinterpret_cast<char*>(block.Param(sizeof item));
    if (!block.Write(&item, sizeof item))
        return "(unreadable)";
    AskListView(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), block.Param());
    char text[textSize] = "";
    block.Read(text, textSize - 1, sizeof item);
    return text;
}

std::vector<std::string> ListColumn(DWORD process, HWND list, int column)
{
    std::vector<std::string> texts;
    const int rows = ListRowCount(list);
    for (int row = 0; row < rows; ++row)
        texts.push_back(ListCell(process, list, row, column));
    return texts;
}

void SelectListRows(DWORD process, HWND list, const std::vector<int>& rows)
{
    RemoteBlock block(process, sizeof(LVITEMA));
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    block.Write(&item, sizeof item);
    AskListView(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), block.Param());
    for (int row : rows) {
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        block.Write(&item, sizeof item);
        AskListView(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), block.Param());
    }
}

int ListColumnWidth(HWND list, int column)
{
    return static_cast<int>(AskListView(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

std::string ListColumnTitle(DWORD process, HWND list, int column)
{
    const size_t textSize = 256;
    RemoteBlock block(process, sizeof(LVCOLUMNA) + textSize);
    LVCOLUMNA entry = {};
    entry.mask = LVCF_TEXT;
    entry.cchTextMax = static_cast<int>(textSize);
    entry.pszText = reinterpret_cast<char*>(block.Param(sizeof entry));
    if (!block.Write(&entry, sizeof entry) ||
        !AskListView(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), block.Param()))
        return "(unreadable)";
    char text[textSize] = "";
    block.Read(text, textSize - 1, sizeof entry);
    return text;
}

std::vector<int> ListColumnOrder(DWORD process, HWND list)
{
    const int count = static_cast<int>(AskListView(reinterpret_cast<HWND>(AskListView(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
    if (count <= 0)
        return {};
    std::vector<int> order(static_cast<size_t>(count));
    RemoteBlock block(process, order.size() * sizeof(int));
    AskListView(list, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), block.Param());
    block.Read(order.data(), order.size() * sizeof(int));
    return order;
}

namespace {
HWND HeaderOf(HWND list)
{
    return reinterpret_cast<HWND>(AskListView(list, LVM_GETHEADER, 0, 0));
}

// The middle of the column's header item, in the header's coordinates.
LPARAM HeaderItemMiddle(DWORD process, HWND header, int column)
{
    RemoteBlock block(process, sizeof(RECT));
    AskListView(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), block.Param());
    RECT rect = {};
    block.Read(&rect, sizeof rect);
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}
}

void ClickHeaderItem(DWORD process, HWND list, int column)
{
    HWND header = HeaderOf(list);
    const LPARAM at = HeaderItemMiddle(process, header, column);
    PostMessageA(header, WM_MOUSEMOVE, 0, at);
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(header, WM_LBUTTONUP, 0, at);
}

void DragHeaderItem(DWORD process, HWND list, int column, int ontoColumn)
{
    HWND header = HeaderOf(list);
    const LPARAM from = HeaderItemMiddle(process, header, column);
    const LPARAM onto = HeaderItemMiddle(process, header, ontoColumn);
    const int fromX = static_cast<short>(LOWORD(from));
    const int ontoX = static_cast<short>(LOWORD(onto)) - 10;
    const int y = static_cast<short>(HIWORD(from));
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, from);
    // Far enough for a drag, in steps as a hand moves.
    for (int step = 1; step <= 8; ++step) {
        const int x = fromX + (ontoX - fromX) * step / 8;
        PostMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    }
    PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(ontoX, y));
}

int HeaderItemImage(DWORD process, HWND list, int column)
{
    RemoteBlock block(process, sizeof(HDITEMA));
    HDITEMA item = {};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    block.Write(&item, sizeof item);
    AskListView(HeaderOf(list), HDM_GETITEMA, static_cast<WPARAM>(column), block.Param());
    block.Read(&item, sizeof item);
    return (item.fmt & HDF_IMAGE) ? item.iImage : -1;
}

void DragColumnDivider(DWORD process, HWND list, int column, int width)
{
    HWND header = HeaderOf(list);
    RemoteBlock block(process, sizeof(RECT));
    AskListView(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), block.Param());
    RECT rect = {};
    block.Read(&rect, sizeof rect);
    const int y = (rect.top + rect.bottom) / 2;
    const int fromX = rect.right - 1;
    const int ontoX = rect.left + width - 1;
    PostMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(fromX, y));
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, y));
    for (int step = 1; step <= 4; ++step)
        PostMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(fromX + (ontoX - fromX) * step / 4, y));
    PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(ontoX, y));
}

RECT ListCellRect(DWORD process, HWND list, int row, int column)
{
    RemoteBlock block(process, sizeof(RECT));
    RECT rect = {LVIR_BOUNDS, column, 0, 0};
    block.Write(&rect, sizeof rect);
    AskListView(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), block.Param());
    block.Read(&rect, sizeof rect);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string StatusBarText(DWORD process, HWND status)
{
    const size_t textSize = 512;
    RemoteBlock block(process, textSize);
    const LRESULT length = AskListView(status, SB_GETTEXTLENGTHA, 0, 0);
    if (LOWORD(length) >= textSize)
        return "(too long)";
    AskListView(status, SB_GETTEXTA, 0, block.Param());
    char text[textSize] = "";
    block.Read(text, textSize - 1);
    return text;
}
