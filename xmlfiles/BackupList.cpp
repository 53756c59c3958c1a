#include "xmlfiles/BackupList.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "foundation/BackupFolder.h"
#include "foundation/Clock.h"
#include "foundation/DataFolder.h"
#include "foundation/DateTime.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileSearch.h"
#include "foundation/FolderIdentity.h"
#include "foundation/FormatSettings.h"
#include "foundation/GenericString.h"
#include "foundation/TextFormatting.h"
#include "store/BackupFolderCheck.h"

namespace {
std::string Pattern(const char* folder, const char* subfolder, const char* extension)
{
    std::string pattern = folder ? folder : "";
    if (subfolder && subfolder[0])
        pattern.append("\\").append(subfolder);
    return pattern.append("\\*.").append(extension ? extension : "");
}

bool HasBackupExtension(const char* name)
{
    return lstrcmpiA(name + 12, ".QPK") == 0;
}

// The backups of the folder in the order of the search.
std::vector<BackupListEntry> FindBackups()
{
    std::vector<BackupListEntry> found;
    ForEachFileMatch(Pattern(GetCurrentBackupFolder(), nullptr, "QPK"), [&](const WIN32_FIND_DATAA& match) {
        BackupListEntry entry;
        if (!(match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsBackupFileName(match.cFileName) &&
            HasBackupExtension(match.cFileName) && ParseBackupFileName(entry.date, match.cFileName)) {
            entry.fileName = match.cFileName;
            entry.path = BackupFilePath(entry.fileName);
            found.push_back(entry);
        }
        return true;
    });
    return found;
}

bool NewerFirst(const BackupListEntry& a, const BackupListEntry& b)
{
    return StampMinutes(a.date) > StampMinutes(b.date);
}

// What an entry of the Restore submenu shows of its text.
const size_t kMenuEntryRoom = 55;
const char kRescueMark[] = " (unstored)";

bool NewerToTheSecondFirst(const BackupListEntry& a, const BackupListEntry& b)
{
    return IsNewerRescue(RescueStamp{a.date, a.second, a.copy}, RescueStamp{b.date, b.second, b.copy});
}

// The date with the weekday and the year, by the user's format.
std::string ShownDate(const CDateTime& when, const BackupStamp& date)
{
    CGenericString text(100);
    FormatDateText(when, true, text, true, false);
    std::string shown = text.GetString();
    // A date format that shows no date would leave the backups told apart by their times alone.
    if (shown.empty()) {
        char weekday[64] = "";
        when.GetDayName(weekday, sizeof weekday);
        char written[128];
        std::snprintf(written, sizeof written, "%s %s  %2d, %4d", weekday, MonthNames[date.month % 13], date.day,
                      date.year);
        shown = written;
    }
    return shown;
}
}

int ListBackupFiles(const char* folder, const char* subfolder, const char* extension)
{
    int count = 0;
    ForEachFileMatch(Pattern(folder, subfolder, extension), [&](const WIN32_FIND_DATAA& match) {
        BackupStamp date;
        if (ParseBackupFileName(date, match.cFileName))
            ++count;
        return true;
    });
    return count;
}

std::string PathOfNamedFile(const std::string& name)
{
    const bool full = (name.size() > 1 && name[1] == ':') || name.compare(0, 1, "\\") == 0;
    return full ? name : DataFilePath(name.c_str());
}

std::string BackupFolderPath()
{
    return GetCurrentBackupFolder();
}

std::string BackupFilePath(const std::string& name)
{
    return BackupFolderPath() + "\\" + name;
}

namespace {
std::vector<BackupListEntry> ListedBackups()
{
    std::vector<BackupListEntry> list = FindBackups();
    std::stable_sort(list.begin(), list.end(), NewerFirst);
    for (BackupListEntry& entry : list)
        entry.displayText = BackupDisplayText(entry.date);
    return list;
}
}

std::vector<BackupListEntry> BuildBackupList()
{
    EnsureBackupFolder(nullptr);
    return ListedBackups();
}

std::string BackupDisplayText(const BackupStamp& date)
{
    CDateTime when(static_cast<BYTE>(date.day), static_cast<BYTE>(date.month), static_cast<WORD>(date.year),
                   static_cast<WORD>(date.hour), static_cast<WORD>(date.minute), 0);
    return ShownDate(when, date) + ", " + when.GetTimeText() + "   ";
}

std::string RescueDisplayText(const RescueStamp& stamp)
{
    const BackupStamp& date = stamp.date;
    CDateTime when(static_cast<BYTE>(date.day), static_cast<BYTE>(date.month), static_cast<WORD>(date.year),
                   static_cast<WORD>(date.hour), static_cast<WORD>(date.minute), static_cast<WORD>(stamp.second));
    SYSTEMTIME time{};
    when.ToSystemTime(time);
    // Rescue backups may come seconds apart: their seconds are shown, unless
    // the entry would then be cut.
    char clock[50] = "";
    if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof clock))
        clock[0] = 0;
    const std::string shownDate = ShownDate(when, date);
    std::string shown = shownDate + ", " + clock + kRescueMark;
    if (shown.size() > kMenuEntryRoom)
        shown = shownDate + ", " + when.GetTimeText() + kRescueMark;
    return shown + "   ";
}

std::vector<BackupListEntry> FindRescueBackups(const std::string& folder)
{
    std::vector<BackupListEntry> found;
    ForEachFileMatch(folder + "\\" + kRescueBackupPrefix + "*.QPK", [&](const WIN32_FIND_DATAA& match) {
        RescueStamp stamp;
        if (!(match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ParseRescueBackupName(stamp, match.cFileName)) {
            BackupListEntry entry;
            entry.fileName = match.cFileName;
            entry.path = folder + "\\" + entry.fileName;
            entry.date = stamp.date;
            entry.second = stamp.second;
            entry.copy = stamp.copy;
            entry.rescue = true;
            entry.displayText = RescueDisplayText(stamp);
            found.push_back(entry);
        }
        return true;
    });
    return found;
}

std::vector<std::string> RescueBackupFolders()
{
    std::vector<std::string> folders;
    // An unknown folder would make the searches look at the drive's root.
    const std::string backups = BackupFolderPath();
    if (!backups.empty())
        folders.push_back(backups);
    // A backup folder chosen as the data folder, spelt otherwise, is searched once.
    const std::string data = GetDataFolder();
    if (!data.empty() && (backups.empty() || !IsSameFolder(backups, data)))
        folders.push_back(data);
    return folders;
}

RestoreChoices BuildRestoreChoices()
{
    RestoreChoices choices;
    choices.trouble = EnsureBackupFolderTrouble();
    choices.backups = ListedBackups();
    for (const std::string& folder : RescueBackupFolders()) {
        const std::vector<BackupListEntry> rescues = FindRescueBackups(folder);
        choices.rescues.insert(choices.rescues.end(), rescues.begin(), rescues.end());
    }
    std::stable_sort(choices.rescues.begin(), choices.rescues.end(), NewerToTheSecondFirst);
    return choices;
}

bool RestoreSubmenuHasEntries()
{
    if (EnsureBackupFolderTrouble() != BackupFolderTrouble::kNone || BackupFilesExist())
        return true;
    const std::string data = GetDataFolder();
    return !data.empty() && !FindRescueBackups(data).empty();
}

void DeleteExpiredBackups(const BackupStamp& now, int retentionDays, bool monthlyKeep,
                          const std::vector<BackupListEntry>& newestFirst)
{
    std::vector<BackupStamp> oldestFirst;
    for (auto entry = newestFirst.rbegin(); entry != newestFirst.rend(); ++entry)
        oldestFirst.push_back(entry->date);
    const size_t last = newestFirst.size() - 1;
    for (size_t index : ChooseExpiredBackups(oldestFirst, now, retentionDays, monthlyKeep))
        DeleteFileA(BackupFilePath(newestFirst[last - index].fileName).c_str());
}

BackupStamp BackupStampNow()
{
    SYSTEMTIME now = GetLocalNow();
    return BackupStamp{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}
