#include "note/NoteFavouritesMenu.h"

#include <string>

#include "foundation/win/Launching.h"
#include "globals/ProgramGlobals.h"

namespace {
const char kOrganizeText[] = "&Organize favourites...";
const int kPictureSide = 16;

FavouritesOrganizer g_organizer = nullptr;
FavouritesLister g_lister = nullptr;

// The objects of the lines last put into a menu, by their commands: the list
// may be rebuilt while the menu is open.
std::vector<std::string>& ShownObjects()
{
    static std::vector<std::string> objects;
    return objects;
}

// The object's icon on the menu's colour, for the line's picture.
HBITMAP MakePicture(int imageIndex)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, kPictureSide, kPictureSide);
    ReleaseDC(nullptr, screen);
    if (!memory || !picture) {
        if (memory)
            DeleteDC(memory);
        if (picture)
            DeleteObject(picture);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(memory, picture);
    RECT all{0, 0, kPictureSide, kPictureSide};
    FillRect(memory, &all, GetSysColorBrush(COLOR_MENU));
    ImageList_Draw(ImageList(kFavouritesImageList).GetHandle(), imageIndex, memory, 0, 0, ILD_TRANSPARENT);
    SelectObject(memory, previous);
    DeleteDC(memory);
    return picture;
}

bool EndsWithIgnoringCase(const std::string& text, const char* end)
{
    const size_t length = lstrlenA(end);
    return text.size() >= length && lstrcmpiA(text.c_str() + text.size() - length, end) == 0;
}
}

CNoteFavouritesMenu::CNoteFavouritesMenu() : m_menu(CreatePopupMenu())
{
    ShownObjects().clear();
    if (!m_menu)
        return;
    if (g_lister)
        g_lister();
    UINT id = kNoteCmdFirstFavourite;
    for (auto* node = FavouritesList().GetFirst(); node && id <= kNoteCmdLastFavourite; node = node->next, ++id) {
        const FavouriteItem& item = node->record;
        MENUITEMINFOA line{};
        line.cbSize = sizeof line;
        line.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
        line.wID = id;
        line.dwTypeData = const_cast<char*>(item.name);
        line.hbmpItem = item.imageIndex >= 0 ? MakePicture(item.imageIndex) : nullptr;
        if (line.hbmpItem)
            m_pictures.push_back(line.hbmpItem);
        InsertMenuItemA(m_menu, GetMenuItemCount(m_menu), TRUE, &line);
        ShownObjects().push_back(item.path);
    }
    if (!ShownObjects().empty())
        AppendMenuA(m_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(m_menu, MF_STRING, kNoteCmdOrganizeFavourites, kOrganizeText);
}

CNoteFavouritesMenu::~CNoteFavouritesMenu()
{
    if (m_menu)
        DestroyMenu(m_menu);
    for (HBITMAP picture : m_pictures)
        DeleteObject(picture);
}

HMENU CNoteFavouritesMenu::Release()
{
    HMENU menu = m_menu;
    m_menu = nullptr;
    return menu;
}

UINT CNoteFavouritesMenu::TrackAtPointer(HWND owner)
{
    if (!m_menu)
        return 0;
    POINT pointer{};
    GetCursorPos(&pointer);
    SetForegroundWindow(owner);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(m_menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pointer.x, pointer.y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    return chosen;
}

void SetFavouritesOrganizer(FavouritesOrganizer organizer)
{
    g_organizer = organizer;
}

void SetFavouritesLister(FavouritesLister lister)
{
    g_lister = lister;
}

bool OnNoteFavouritesCommand(HWND owner, UINT id)
{
    if (id == kNoteCmdOrganizeFavourites) {
        if (g_organizer)
            g_organizer(owner);
        return true;
    }
    if (id < kNoteCmdFirstFavourite || id > kNoteCmdLastFavourite)
        return false;
    const size_t index = id - kNoteCmdFirstFavourite;
    if (index >= ShownObjects().size())
        return true;
    const std::string object = ShownObjects()[index];
    if (EndsWithIgnoringCase(object, ".lnk"))
        LaunchShortcutFile(owner, object.c_str());
    else
        OpenFileOrFolder(owner, object.c_str(), nullptr, nullptr);
    return true;
}
