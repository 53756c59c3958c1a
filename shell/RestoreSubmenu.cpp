#include <winsock2.h>

#include "shell/RestoreSubmenu.h"

#include <algorithm>
#include <string>

#include "globals/MainWindowMessages.h"

namespace {
const size_t kMostRescuesShown = kCmdLastRescueBackup - kCmdFirstRescueBackup + 1;
const size_t kMostBackupsShown = kCmdLastBackup - kCmdFirstBackup + 1;
const int kBackupEntryImage = 43;
const char kOlderBackups[] = "Older backups";
// What a menu's frame and a margin take of the screen's height.
const int kMenuFrameHeight = 12;

struct RestoreMenuEntry {
    enum Kind { kCommand, kGreyed, kSeparator, kOlder } kind;
    std::string text;
    UINT id;
};
using Page = std::vector<RestoreMenuEntry>;

// The height a menu may take: the work area's (the screen's, less the
// taskbar), less the menu's frame.
int RoomOnScreen()
{
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) || work.bottom <= work.top)
        work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return work.bottom - work.top - kMenuFrameHeight;
}

std::string MissingBackupsText(BackupFolderTrouble trouble)
{
    return trouble == BackupFolderTrouble::kFileInTheWay ? "No dated backups: BACKUP is a file, not a folder"
                                                         : "No dated backups: the BACKUP folder cannot be made";
}

// The entries, page by page: the first page is the Restore submenu, each
// later one the "Older backups" submenu of the page before it.
std::vector<Page> Plan(const RestoreChoices& choices)
{
    const int itemHeight = CoolMenuItemHeight();
    const int room = RoomOnScreen();
    const int rows = std::max(3, room / itemHeight);
    std::vector<Page> pages(1);
    int used = 0;
    // A group that leaves the dated backups most of the screen.
    const size_t rescues =
        std::min({choices.rescues.size(), kMostRescuesShown, static_cast<size_t>(std::max(1, rows / 3))});
    for (size_t j = 0; j < rescues; ++j) {
        pages[0].push_back(
            {RestoreMenuEntry::kCommand, choices.rescues[j].displayText, kCmdFirstRescueBackup + UINT(j)});
        used += itemHeight;
    }
    const bool missing = choices.trouble != BackupFolderTrouble::kNone;
    if (rescues && (missing || !choices.backups.empty())) {
        pages[0].push_back({RestoreMenuEntry::kSeparator, "", 0});
        used += kCoolMenuSeparatorHeight;
    }
    if (missing) {
        pages[0].push_back({RestoreMenuEntry::kGreyed, MissingBackupsText(choices.trouble), kCmdBackupsMissingLine});
        used += itemHeight;
    }
    const size_t backups = std::min(choices.backups.size(), kMostBackupsShown);
    for (size_t i = 0; i < backups;) {
        // At least one backup and the way on fit on any page.
        const size_t free = static_cast<size_t>(std::max(2, (room - used) / itemHeight));
        const size_t here = backups - i <= free ? backups - i : free - 1;
        for (size_t k = 0; k < here; ++k, ++i)
            pages.back().push_back({RestoreMenuEntry::kCommand, choices.backups[i].displayText, kCmdFirstBackup + UINT(i)});
        if (i < backups) {
            pages.back().push_back({RestoreMenuEntry::kOlder, kOlderBackups, 0});
            pages.emplace_back();
            used = 0;
        }
    }
    if (pages[0].empty())
        pages[0].push_back({RestoreMenuEntry::kGreyed, "No backups", kCmdBackupsMissingLine});
    return pages;
}

void AppendEntries(HMENU menu, const Page& page, HMENU older)
{
    for (const RestoreMenuEntry& entry : page) {
        switch (entry.kind) {
        case RestoreMenuEntry::kSeparator:
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            break;
        case RestoreMenuEntry::kOlder:
            AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(older), entry.text.c_str());
            break;
        default:
            AppendMenuA(menu, MF_STRING | (entry.kind == RestoreMenuEntry::kGreyed ? MF_GRAYED : 0), entry.id,
                        entry.text.c_str());
            break;
        }
    }
}

void MakeRestoreMenuOwnerDrawn(CCoolMenu& cool, const Page& page)
{
    cool.SetSize(static_cast<int>(page.size()));
    for (size_t position = 0; position < page.size(); ++position) {
        const RestoreMenuEntry& entry = page[position];
        const int at = static_cast<int>(position);
        if (entry.kind == RestoreMenuEntry::kSeparator)
            cool.InitMenuStructures(at, "", kMakeSeparatorId, at, -1, 0, kNoRecolour, false);
        else if (entry.kind == RestoreMenuEntry::kOlder)
            cool.InitPopupItem(at, at, entry.text.c_str());
        else
            cool.InitMenuStructures(at, entry.text.c_str(), entry.id,
                                    entry.kind == RestoreMenuEntry::kGreyed ? -1 : kBackupEntryImage, -1, 0,
                                    kNoRecolour, false);
    }
}
}

void CRestoreSubmenu::Fill(HINSTANCE instance, HMENU menu, CCoolMenu& cool, CFavouritesImageList* images,
                           const RestoreChoices& choices)
{
    Release();
    while (GetMenuItemCount(menu) > 0)
        DeleteMenu(menu, 0, MF_BYPOSITION);
    const std::vector<Page> pages = Plan(choices);
    std::vector<HMENU> menus{menu};
    for (size_t p = 1; p < pages.size(); ++p)
        menus.push_back(CreatePopupMenu());
    for (size_t p = 0; p < pages.size(); ++p)
        AppendEntries(menus[p], pages[p], p + 1 < menus.size() ? menus[p + 1] : nullptr);
    cool.Attach(instance, menu, images);
    MakeRestoreMenuOwnerDrawn(cool, pages[0]);
    for (size_t p = 1; p < pages.size(); ++p) {
        m_older.push_back(std::make_unique<CCoolMenu>());
        m_older.back()->Attach(instance, menus[p], images);
        MakeRestoreMenuOwnerDrawn(*m_older.back(), pages[p]);
    }
}

CCoolMenu* CRestoreSubmenu::HoldingItem(ULONG_PTR itemData)
{
    for (const auto& older : m_older) {
        if (older->HoldsItem(itemData))
            return older.get();
    }
    return nullptr;
}

CCoolMenu* CRestoreSubmenu::Drawing(HMENU menu)
{
    for (const auto& older : m_older) {
        if (older->GetMenu() == menu)
            return older.get();
    }
    return nullptr;
}

void CRestoreSubmenu::Release()
{
    for (const auto& older : m_older)
        older->Detach();
    m_older.clear();
}
