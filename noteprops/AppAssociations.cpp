#include "noteprops/AppAssociations.h"

#include <algorithm>

#include "foundation/CallbackGuard.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/ResourceData.h"
#include "globals/ProgramGlobals.h"
#include "store/NoteRecord.h"
#include "resources/ids/WindowClassIds.h"

namespace {
const int kTitleSize = 255;

struct Collection {
    std::vector<AppWindow> windows;
    std::string noteClass;
    std::string arrowClass;
};

std::string ClassNameFromResource(UINT id)
{
    CResourceString name;
    try {
        name.LoadString(GetModuleHandleA(nullptr), id);
    } catch (...) {
        return std::string();
    }
    return name.GetText();
}

bool IsOwnOrShellClass(const Collection& collection, const char* className)
{
    for (const char* shell : {"Progman", "Shell_TrayWnd", "tooltips_class32"}) {
        if (lstrcmpiA(className, shell) == 0)
            return true;
    }
    return (!collection.noteClass.empty() && lstrcmpiA(className, collection.noteClass.c_str()) == 0) ||
           (!collection.arrowClass.empty() && lstrcmpiA(className, collection.arrowClass.c_str()) == 0);
}

void ConsiderWindow(HWND window, Collection& collection)
{
    char className[256] = "";
    if (!GetClassNameA(window, className, sizeof className))
        WriteErrorLog("CollectTopLevelWindows():", "GetClassName failed");
    else if (IsOwnOrShellClass(collection, className))
        return;
    if (!IsWindowVisible(window) || (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
        return;
    const bool minimised = IsIconic(window) != FALSE;
    if (!minimised) {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        if (bounds.right - bounds.left < GetSystemMetrics(SM_CXMIN) ||
            bounds.bottom - bounds.top < GetSystemMetrics(SM_CYMIN))
            return;
    }
    char title[kTitleSize + 1] = "";
    const int length = GetWindowTextA(window, title, sizeof title);
    if (length <= 0 || length >= kTitleSize)
        return;
    if (lstrcmpiA(title, "Quillnet+ Note Manager") == 0 || lstrcmpiA(title, "Quillnet+") == 0)
        return;
    collection.windows.push_back({window, title, minimised});
}

BOOL CALLBACK EnumTopLevelWindowsProc(HWND window, LPARAM context)
{
    return GuardCallback<BOOL>(FALSE, [&] {
        ConsiderWindow(window, *reinterpret_cast<Collection*>(context));
        return TRUE;
    });
}

bool SameTitle(const char* a, const char* b)
{
    return lstrcmpiA(a, b) == 0;
}
}

std::vector<AppWindow> CollectTopLevelWindows()
{
    Collection collection;
    collection.noteClass = ClassNameFromResource(IDS_NOTE_WINDOW_CLASS);
    collection.arrowClass = ClassNameFromResource(IDS_CHILD_WINDOW_CLASS);
    EnumWindows(&EnumTopLevelWindowsProc, reinterpret_cast<LPARAM>(&collection));
    return collection.windows;
}

CRecordList<CAppAssociation>& AppAssociationsList()
{
    static CRecordList<CAppAssociation> list("AssociatedWithApps");
    return LiveGlobal(list, kRowGroupLists);
}

int SetAssociationShown(const NoteRecord& note, const char* title, bool clear)
{
    const bool byTitle = title && lstrlenA(title) >= 2;
    for (auto* node = AppAssociationsList().GetFirst(); node; node = node->next) {
        CAppAssociation& association = node->record;
        if (association.noteId != note.m_noteId)
            continue;
        if (!byTitle)
            return 1;
        if (!SameTitle(association.application, title))
            continue;
        if (!clear && !association.shown) {
            association.shown = 1;
            return 1;
        }
        if (clear && association.shown) {
            association.shown = 0;
            return 1;
        }
    }
    return 0;
}

std::vector<DWORD> DropClosedAppAssociations(const std::vector<AppWindow>& windows)
{
    std::vector<DWORD> closed;
    for (auto* node = AppAssociationsList().GetFirst(); node; node = node->next) {
        CAppAssociation& association = node->record;
        if (!association.shown)
            continue;
        const bool open = std::any_of(windows.begin(), windows.end(), [&](const AppWindow& window) {
            return !window.minimised && SameTitle(window.title.c_str(), association.application);
        });
        if (open)
            continue;
        association.shown = 0;
        closed.push_back(association.noteId);
    }
    return closed;
}
