// The Note, Security and Sounds pages' objects: built from the settings in
// memory before the sheet opens, and the standard values their reset buttons
// go back to.
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/BackupFolder.h"
#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/SettingsPageData.h"
#include "store/Sounds.h"
#include "store/UsersTable.h"
#include "store/BackupFolderCheck.h"

namespace {
template <size_t N>
void CopyToSettingsUserPagesValues(char (&to)[N], const char* from)
{
    std::snprintf(to, N, "%s", from ? from : "");
}

DWORD UserPageValueInRangeOr(DWORD value, DWORD low, DWORD high, DWORD fallback)
{
    return value >= low && value <= high ? value : fallback;
}

// The standard Tab width of a new user.
const DWORD kStandardTabWidth = 2;

const char* const kTooLongTexts[4] = {
    "The selected alarm sound file name is too long??\r\n",
    "The selected incoming note sound file name is too long??\r\n",
    "The selected new chat initiated sound file name is too long??\r\n",
    "The selected chat line received sound file name is too long??\r\n",
};
}

std::string StandardBackupFolderPath()
{
    return DataFilePath(DataName::kBackupFolder).substr(0, CSecurityPageData::kFolderSize - 1);
}

void BuildNotePageData(CNotePageData& data)
{
    const CUserSettings& user = UserSettings();
    const CConfigSettings& config = ConfigSettings();
    data = CNotePageData();
    data.saveInterval =
        static_cast<WORD>(UserPageValueInRangeOr(user.saveInterval, data.sliderMinimum, data.sliderMaximum, 1));
    data.includeTime = user.datesWithTime != 0;
    data.tabWidth = UserPageValueInRangeOr(user.tabWidth, 1, 9, kStandardTabWidth);
    data.notesNearMouse = config.notesNearMouse != 0;
    data.dateFormat = static_cast<BYTE>(UserPageValueInRangeOr(user.dateFormat, 1, 3, 1));
    data.menuStyle = config.menuStyle == 2 ? 2 : 1;
    data.quickLaunch = config.quickLaunch != 0;
    data.titleButton = config.titleButtonOnHover != 0;
}

void TakeStandardNoteValues(CNotePageData& data)
{
    const CConfigSettings& config = ConfigSettings();
    data.saveInterval = static_cast<WORD>(UserPageValueInRangeOr(config.saveInterval, data.sliderMinimum, data.sliderMaximum, 1));
    data.includeTime = config.sentOption != 0;
    data.titleButton = config.titleButtonOnHover != 0;
    data.notesNearMouse = config.notesNearMouse != 0;
    data.quickLaunch = config.quickLaunch != 0;
    data.tabWidth = kStandardTabWidth;
    data.dateFormat = static_cast<BYTE>(UserPageValueInRangeOr(config.dateFormat, 1, 3, 1));
}

void BuildSecurityPageData(CSecurityPageData& data)
{
    const CUserSettings& user = UserSettings();
    data = CSecurityPageData();
    data.shareNotes = user.shareNotes != 0;
    data.confirmDelete = user.confirmDelete != 0;
    data.dailyBackups = user.autoBackup != 0;
    data.backupDays = UserPageValueInRangeOr(user.backupDays, 1, CSecurityPageData::kMaximumDays, 7);
    data.keepMonthlyBackup = user.keepMonthlyBackup != 0;
    data.passwordMode = user.passwordMode == 1 ? 1 : 2;
    data.passwordAtStart = user.passwordAtStart != 0;
    data.protectHiddenLocked = user.protectHiddenLocked != 0;
    CopyToSettingsUserPagesValues(data.password, user.passwordCode);
    CopyToSettingsUserPagesValues(data.backupFolder, GetCurrentBackupFolder());
}

// A new user's values, which the reset button gives back.
void TakeStandardSecurityValues(CSecurityPageData& data)
{
    const CConfigSettings& config = ConfigSettings();
    data.confirmDelete = config.receivedOption != 0;
    data.shareNotes = config.shareNotes != 0;
    data.shareForEveryUser = 0;
    data.dailyBackups = config.autoBackup != 0;
    data.keepMonthlyBackup = config.htmlMail != 0;
    data.backupDays = UserPageValueInRangeOr(static_cast<DWORD>(config.autoBackupNumber), 1, CSecurityPageData::kMaximumDays, 7);
    // The standard values take the password away, so they ask for none.
    data.passwordAtStart = 0;
    data.protectHiddenLocked = 0;
    data.passwordMode = config.w1 == 1 ? 1 : 2;
    CopyToSettingsUserPagesValues(data.backupFolder, StandardBackupFolderPath().c_str());
    data.password[0] = '\0';
}

std::string SoundPathTooLongText(int kind, const char* path)
{
    return std::string(kTooLongTexts[kind >= kSoundAlarm && kind <= kSoundChatLine ? kind - 1 : 0]) + path;
}

void BuildSoundPageData(CSoundPageData& data)
{
    data = CSoundPageData();
    for (int kind = kSoundAlarm; kind <= kSoundChatLine; ++kind) {
        CSoundSlot& slot = data.slots[kind - 1];
        slot = UserSoundSlot(kind);
        if (slot.path[0] == '\0' || std::strchr(slot.path, '\\'))
            continue;
        char full[CSoundSlot::kPathSize];
        if (MakeProgramPath(full, sizeof full, slot.path)) {
            CopyToSettingsUserPagesValues(slot.path, full);
            continue;
        }
        ShowMessageBox(nullptr, SoundPathTooLongText(kind, ProgramFilePath(slot.path).c_str()).c_str(), ProgramTitle,
                       kMbOk);
        slot.type = kSoundNone;
    }
}

namespace {
void TakeNotePageData(const CNotePageData& data)
{
    CUserSettings& user = UserSettings();
    CConfigSettings& config = ConfigSettings();
    user.saveInterval = data.saveInterval;
    user.datesWithTime = data.includeTime != 0;
    user.tabWidth = data.tabWidth;
    user.dateFormat = data.dateFormat;
    config.notesNearMouse = data.notesNearMouse != 0;
    config.menuStyle = data.menuStyle;
    config.quickLaunch = data.quickLaunch != 0;
    config.titleButtonOnHover = data.titleButton != 0;
}

void TakeSecurityPageData(const CSecurityPageData& data)
{
    CUserSettings& user = UserSettings();
    user.shareNotes = data.shareNotes != 0;
    user.confirmDelete = data.confirmDelete != 0;
    user.autoBackup = data.dailyBackups != 0;
    user.backupDays = data.backupDays;
    user.keepMonthlyBackup = data.keepMonthlyBackup != 0;
    user.passwordMode = static_cast<WORD>(data.passwordMode);
    user.passwordAtStart = data.passwordAtStart != 0;
    user.protectHiddenLocked = data.protectHiddenLocked != 0;
    CopyToSettingsUserPagesValues(user.passwordCode, data.password);
    CMemArray<CUserEntry>& users = UsersArray();
    if (user.userId < users.GetCount())
        users[user.userId].sharesNotes = user.shareNotes;
    // A folder that is missing or cannot be written gives way to the standard
    // one, which is made when it is missing.
    SetCurrentBackupFolder(data.backupFolder);
    EnsureBackupFolder(nullptr);
    CopyToSettingsUserPagesValues(ConfigSettings().backupFolder, GetCurrentBackupFolder());
}
}

UserPagesChanges TakeUserPages(const SettingsSheetPages& pages)
{
    const CUserSettings& user = UserSettings();
    const CConfigSettings& config = ConfigSettings();
    const WORD intervalBefore = user.saveInterval;
    const DWORD menuStyleBefore = config.menuStyle;
    const DWORD quickLaunchBefore = config.quickLaunch;
    const WORD passwordModeBefore = user.passwordMode;
    TakeNotePageData(pages.note);
    TakeSecurityPageData(pages.security);
    UserPagesChanges changes;
    changes.saveInterval = user.saveInterval != intervalBefore;
    changes.menuStyle = config.menuStyle != menuStyleBefore;
    changes.quickLaunch = config.quickLaunch != quickLaunchBefore;
    changes.maskProtectedNotes =
        pages.security.maskProtectedNotes != 0 || (user.passwordMode == 2 && passwordModeBefore != 2);
    return changes;
}
