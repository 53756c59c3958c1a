#include "noteprops/PictureList.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "foundation/DataFolder.h"
#include "foundation/FileSearch.h"
#include "foundation/win/BitmapHelpers.h"
#include "foundation/win/ListBoxCtl.h"
#include "foundation/win/Subclassing.h"
#include "foundation/win/Tooltips.h"
#include "store/DataFolderImages.h"

namespace {
const char kUnreadableLine[] = "Error reading listbox content";
const char* const kPicturePatterns[] = {"*.BMP", "*.JPG", "*.GIF"};

// A search for "*.BMP" also finds "x.bmpx" by its short name: only a name
// that really ends in the pattern's extension is a picture of that kind.
bool HasExtensionOf(const char* name, const char* pattern)
{
    const char* extension = pattern + 1;
    const size_t length = std::strlen(name);
    const size_t extensionLength = std::strlen(extension);
    return length > extensionLength && lstrcmpiA(name + length - extensionLength, extension) == 0;
}
}

CPictureList::CPictureList(HWND dialog, int listId, const CPictureListKind& kind, DWORD* fileDeleted)
    : m_dialog(dialog), m_list(GetDlgItem(dialog, listId)), m_kind(kind), m_fileDeleted(fileDeleted)
{
    if (!m_list)
        throw CGenericException("CPictureList: the dialog has no picture list");
    SetWindowLongPtrA(m_list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_previous = SubclassWindow(m_list, m_kind.property, this, &CPictureList::SubclassProc);
    SendMessageA(m_list, LB_SETCOLUMNWIDTH, m_kind.cellSize, 0);
    m_tooltip = CreateTooltipControl(dialog);
    if (m_noImage.LoadBitmapResource(GetModuleHandleA(nullptr), m_kind.noImageBitmap))
        ReplaceBitmapColor(m_noImage.GetBitmap(), m_kind.transparent, GetSysColor(COLOR_WINDOW));
}

CPictureList::~CPictureList()
{
    ReleaseList();
    if (m_tooltip && IsWindow(m_tooltip))
        DestroyWindow(m_tooltip);
}

void CPictureList::ReleaseList()
{
    if (!m_previous)
        return;
    RestoreWindowProc(m_list, m_kind.property, m_previous);
    if (IsWindow(m_list))
        SetWindowLongPtrA(m_list, GWLP_USERDATA, 0);
    m_previous = nullptr;
}

std::string CPictureList::FolderPath() const
{
    return DataFilePath(m_kind.folder);
}

std::string CPictureList::PicturePath(const char* fileName) const
{
    std::string path = FolderPath() + "\\" + fileName;
    return path.size() < MAX_PATH ? path : std::string();
}

void CPictureList::Fill(const char* fileToSelect)
{
    SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
    for (const auto& entry : m_entries)
        RemoveTooltip(m_tooltip, m_list, entry->id);
    m_entries.clear();
    AddLine(kNoImageName);
    for (const char* pattern : kPicturePatterns) {
        ForEachFileMatch(FolderPath() + "\\" + pattern, [&](const WIN32_FIND_DATAA& found) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && HasExtensionOf(found.cFileName, pattern))
                AddLine(found.cFileName);
            return true;
        });
    }
    int selected = LB_ERR;
    const int count = static_cast<int>(SendMessageA(m_list, LB_GETCOUNT, 0, 0));
    for (int line = 0; line < count && fileToSelect; ++line)
        if (lstrcmpiA(LineText(line).c_str(), fileToSelect) == 0) {
            selected = line;
            break;
        }
    SendMessageA(m_list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    // A picture far down the list opens in view, in the first column.
    if (selected >= 40)
        SendMessageA(m_list, LB_SETTOPINDEX, static_cast<WPARAM>(selected), 0);
    SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
    RebuildTooltips();
}

int CPictureList::AddLine(const char* fileName)
{
    auto entry = std::make_unique<CPictureEntry>();
    entry->id = ++m_lastEntryId;
    std::snprintf(entry->fileName, sizeof entry->fileName, "%s", fileName);
    std::snprintf(entry->tooltipText, sizeof entry->tooltipText, "%s", fileName);
    if (std::strcmp(fileName, kNoImageName) != 0) {
        // A file that went in the meantime just shows an empty cell.
        const std::string path = PicturePath(fileName);
        if (!path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            entry->picture.LoadImageFromFile(GetModuleHandleA(nullptr), path.c_str());
    }
    CListBoxCtl list(m_list);
    const int line = list.AddString(fileName);
    list.SetItemData(line, reinterpret_cast<LPARAM>(entry.get()));
    m_entries.push_back(std::move(entry));
    return line;
}

std::string CPictureList::LineText(int index) const
{
    const LRESULT length = SendMessageA(m_list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    char text[MAX_PATH] = "";
    if (length == LB_ERR || length >= static_cast<LRESULT>(sizeof text) ||
        SendMessageA(m_list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)) == LB_ERR)
        return kUnreadableLine;
    return text;
}

bool CPictureList::GetSelectedName(char (&name)[MAX_PATH]) const
{
    const LRESULT selected = SendMessageA(m_list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR)
        return false;
    std::snprintf(name, sizeof name, "%s", LineText(static_cast<int>(selected)).c_str());
    return true;
}

void CPictureList::RemoveLine(int index)
{
    auto* entry = reinterpret_cast<CPictureEntry*>(SendMessageA(m_list, LB_GETITEMDATA, index, 0));
    SendMessageA(m_list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    auto found = std::find_if(m_entries.begin(), m_entries.end(),
                              [&](const std::unique_ptr<CPictureEntry>& held) { return held.get() == entry; });
    if (found == m_entries.end())
        return;
    RemoveTooltip(m_tooltip, m_list, (*found)->id);
    m_entries.erase(found);
}

// Each line's tip covers its cell where the list shows it now, so the tools
// are made again whenever the list scrolls or its lines change.
void CPictureList::RebuildTooltips()
{
    m_topIndex = static_cast<int>(CallWindowProcA(m_previous, m_list, LB_GETTOPINDEX, 0, 0));
    if (!m_tooltip)
        return;
    const int count = static_cast<int>(SendMessageA(m_list, LB_GETCOUNT, 0, 0));
    for (int line = 0; line < count; ++line) {
        auto* entry = reinterpret_cast<const CPictureEntry*>(SendMessageA(m_list, LB_GETITEMDATA, line, 0));
        RECT cell = {};
        if (!entry || entry == reinterpret_cast<const CPictureEntry*>(LB_ERR) ||
            SendMessageA(m_list, LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&cell)) == LB_ERR)
            continue;
        RemoveTooltip(m_tooltip, m_list, entry->id);
        if (!AddTooltipRect(m_tooltip, entry->tooltipText, m_list, entry->id, cell, false))
            return;
    }
}

void CPictureList::RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_tooltip)
        return;
    MSG relayed = {m_list, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relayed.pt);
    SendMessageA(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

LRESULT CALLBACK CPictureList::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The property's name differs between pickers: the object is found by the
    // address the list keeps in its user data.
    auto* list = reinterpret_cast<CPictureList*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!list)
        return DefWindowProcA(window, message, wParam, lParam);
    return GuardCallback<LRESULT>(0, [&] { return list->OnMessage(message, wParam, lParam); });
}

LRESULT CPictureList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC previous = m_previous;
    const HWND list = m_list;
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_DELETE) {
            DeleteSelected();
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        RelayToTooltip(message, wParam, lParam);
        break;
    case WM_NCDESTROY:
        ReleaseList();
        return CallWindowProcA(previous, list, message, wParam, lParam);
    default:
        break;
    }
    const LRESULT result = CallWindowProcA(previous, list, message, wParam, lParam);
    // Scroll bar, keys and LB_SETTOPINDEX alike: the tips follow the cells.
    if (CallWindowProcA(previous, list, LB_GETTOPINDEX, 0, 0) != m_topIndex)
        RebuildTooltips();
    return result;
}
